#include "draw/svg_print_target.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace kordavelt {
namespace {

namespace fs = std::filesystem;

std::string Temporary(const std::string& path) { return path + ".tmp"; }

bool WriteFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  return static_cast<bool>(out);
}

}  // namespace

SvgPrintTarget::SvgPrintTarget(std::string base, PageSetup page)
    : base_(std::move(base)), page_(page), discard_(MakeDiscardingCanvas(page.dotsPerMm)) {}

std::string SvgPrintTarget::PageFile(int number) const {
  std::error_code error;
  if (fs::is_directory(base_, error)) {
    return (fs::path(base_) / ("page-" + std::to_string(number) + ".svg")).string();
  }
  std::string stem = base_;
  if (stem.size() > 4 && stem.ends_with(".svg")) stem.resize(stem.size() - 4);
  return stem + "-" + std::to_string(number) + ".svg";
}

PrintResult SvgPrintTarget::BeginDocument(std::string_view /*title*/) {
  if (open_) return PrintResult::Failure("Документ печати уже начат");
  open_ = true;
  error_.clear();
  pages_.clear();
  return PrintResult::Success();
}

Canvas& SvgPrintTarget::NewPage() {
  if (!open_) {
    if (error_.empty()) error_ = "Страница начата вне документа печати";
    return *discard_;
  }
  pages_.push_back(std::make_unique<SvgCanvas>(
      page_.paperMm, page_.dotsPerMm, PointF{page_.printableMm.left, page_.printableMm.top}));
  return *pages_.back();
}

PrintResult SvgPrintTarget::EndDocument() {
  if (!open_) {
    return PrintResult::Failure(error_.empty() ? "Документ печати не был начат" : error_);
  }
  open_ = false;
  if (!error_.empty()) return PrintResult::Failure(error_);
  return WriteAll();
}

// Every page goes to a temporary file first; only when all of them are
// written are they renamed into place, so a failure leaves the files of an
// earlier printout as they were.
PrintResult SvgPrintTarget::WriteAll() const {
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < pages_.size(); ++i)
    paths.push_back(PageFile(static_cast<int>(i) + 1));
  // Only files: whatever else bears a temporary's name is not ours.
  const auto removeTemporaries = [&] {
    for (const std::string& path : paths) {
      std::error_code ignored;
      if (fs::is_regular_file(Temporary(path), ignored)) fs::remove(Temporary(path), ignored);
    }
  };
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    if (!WriteFile(Temporary(paths[i]), pages_[i]->Document())) {
      removeTemporaries();
      return PrintResult::Failure("Не удалось записать файл " + paths[i]);
    }
  }
  for (const std::string& path : paths) {
    std::error_code error;
    fs::rename(Temporary(path), path, error);
    if (error) {
      removeTemporaries();
      return PrintResult::Failure("Не удалось записать файл " + path + ": " + error.message());
    }
  }
  return PrintResult::Success();
}

std::vector<std::string> SvgPrintTarget::Documents() const {
  std::vector<std::string> documents;
  for (const auto& page : pages_) documents.push_back(page->Document());
  return documents;
}

}  // namespace kordavelt
