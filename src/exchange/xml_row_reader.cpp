#include "exchange/xml_row_reader.h"

#include <expat.h>

#include <cstdint>
#include <cstring>

#include "base/cp1251.h"

namespace kordavelt {
namespace {

constexpr std::size_t kChunkBytes = 16 * 1024;

bool SameLetters(const char* a, const char* b) {
  for (; *a != 0 && *b != 0; ++a, ++b) {
    const char x = (*a >= 'A' && *a <= 'Z') ? static_cast<char>(*a - 'A' + 'a') : *a;
    const char y = (*b >= 'A' && *b <= 'Z') ? static_cast<char>(*b - 'A' + 'a') : *b;
    if (x != y) return false;
  }
  return *a == 0 && *b == 0;
}

}  // namespace

struct XmlRowReader::State {
  XML_Parser parser = nullptr;
  TextFileReader file;
  bool fromMemory = false;
  std::string memory;
  std::size_t memoryPosition = 0;

  bool ended = false;          // all input was given to the parser
  std::int64_t fed = 0;        // bytes given to the parser
  std::int64_t lastEvent = 0;  // where the parser last reported something
  bool rootSeen = false;
  std::string rootName;
  bool utf8 = false;
  std::string error;

  int depth = 0;
  XmlRow row;
  std::size_t rowBytes = 0;
  bool inField = false;
  std::string fieldName;
  std::string fieldText;
  std::deque<XmlRow> rows;

  ~State() {
    if (parser != nullptr) XML_ParserFree(parser);
  }

  // Stops the parser with our own reason.
  void Fail(std::string reason) {
    if (error.empty()) {
      error =
          std::move(reason) + " (строка " + std::to_string(XML_GetCurrentLineNumber(parser)) + ")";
    }
    XML_StopParser(parser, XML_FALSE);
  }

  bool AddField(std::string name, std::string value) {
    rowBytes += name.size() + value.size();
    if (row.fields.size() >= kMaxRowFields || rowBytes > kMaxRowBytes) {
      Fail("Слишком длинная запись");
      return false;
    }
    row.fields.emplace_back(std::move(name), std::move(value));
    return true;
  }

  void Progress() { lastEvent = XML_GetCurrentByteIndex(parser); }

  static void OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto& self = *static_cast<State*>(data);
    self.Progress();
    ++self.depth;
    if (self.depth > kMaxDepth) {
      self.Fail("Слишком глубокая вложенность элементов");
      return;
    }
    if (self.depth == 1) {
      self.rootSeen = true;
      self.rootName = name;
    } else if (self.depth == 2) {
      self.row = XmlRow{name, {}, static_cast<int>(XML_GetCurrentLineNumber(self.parser))};
      self.rowBytes = std::strlen(name);
      for (int i = 0; attributes[i] != nullptr && attributes[i + 1] != nullptr; i += 2) {
        if (std::strlen(attributes[i + 1]) > kMaxValueBytes) {
          self.Fail("Слишком длинное значение");
          return;
        }
        if (!self.AddField(attributes[i], attributes[i + 1])) return;
      }
    } else if (self.depth == 3) {
      self.inField = true;
      self.fieldName = name;
      self.fieldText.clear();
    }
  }

  static void OnEnd(void* data, const XML_Char* /*name*/) {
    auto& self = *static_cast<State*>(data);
    self.Progress();
    if (self.depth == 3 && self.inField) {
      self.inField = false;
      self.AddField(std::move(self.fieldName), std::move(self.fieldText));
    } else if (self.depth == 2) {
      self.rows.push_back(std::move(self.row));
      self.row = {};
    }
    --self.depth;
  }

  static void OnText(void* data, const XML_Char* text, int length) {
    auto& self = *static_cast<State*>(data);
    self.Progress();
    if (self.depth != 3 || !self.inField || length <= 0) return;
    if (self.fieldText.size() + static_cast<std::size_t>(length) > kMaxValueBytes) {
      self.Fail("Слишком длинное значение");
      return;
    }
    self.fieldText.append(text, static_cast<std::size_t>(length));
  }

  static void OnDeclaration(void* data, const XML_Char* /*version*/, const XML_Char* encoding,
                            int /*standalone*/) {
    auto& self = *static_cast<State*>(data);
    self.utf8 = encoding != nullptr && (std::strstr(encoding, "UTF") != nullptr ||
                                        std::strstr(encoding, "utf") != nullptr);
  }

  // Exchange files have no document type: refusing it rules out entity
  // expansion and attribute defaults.
  static void OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    static_cast<State*>(data)->Fail("Объявление типа документа не поддерживается");
  }

  static int OnUnknownEncoding(void* /*data*/, const XML_Char* name, XML_Encoding* info) {
    for (const char* known : {"windows-1251", "cp1251", "win-1251", "x-cp1251"}) {
      if (!SameLetters(name, known)) continue;
      for (int byte = 0; byte < 256; ++byte) {
        info->map[byte] = static_cast<int>(Cp1251ToCodePoint(static_cast<std::uint8_t>(byte)));
      }
      info->data = nullptr;
      info->convert = nullptr;
      info->release = nullptr;
      return XML_STATUS_OK;
    }
    return XML_STATUS_ERROR;
  }
};

XmlRowReader::XmlRowReader() : state_(std::make_unique<State>()) {}
XmlRowReader::~XmlRowReader() = default;

bool XmlRowReader::Start() {
  State& s = *state_;
  s.parser = XML_ParserCreate(nullptr);
  if (s.parser == nullptr) {
    s.error = "Нет памяти для чтения XML";
    return false;
  }
  XML_SetUserData(s.parser, &s);
  XML_SetElementHandler(s.parser, &State::OnStart, &State::OnEnd);
  XML_SetCharacterDataHandler(s.parser, &State::OnText);
  XML_SetXmlDeclHandler(s.parser, &State::OnDeclaration);
  XML_SetStartDoctypeDeclHandler(s.parser, &State::OnDoctype);
  XML_SetUnknownEncodingHandler(s.parser, &State::OnUnknownEncoding, nullptr);
  // Rows read before a damage further on are still given; the error
  // follows them.
  while (!s.rootSeen && s.error.empty() && !s.ended) Feed();
  if (s.rootSeen) return true;
  if (s.error.empty()) s.error = "Нет корневого элемента XML";
  return false;
}

bool XmlRowReader::Open(FileSystem& fileSystem, const std::string& path) {
  state_ = std::make_unique<State>();
  if (!state_->file.Open(fileSystem, path)) {
    state_->error = "Не удалось открыть файл";
    return false;
  }
  return Start();
}

bool XmlRowReader::OpenBytes(std::string bytes) {
  state_ = std::make_unique<State>();
  state_->fromMemory = true;
  state_->memory = std::move(bytes);
  return Start();
}

// Gives the parser the next piece of input. False on an error.
bool XmlRowReader::Feed() {
  State& s = *state_;
  if (!s.error.empty()) return false;
  if (s.ended) return true;
  std::string chunk;
  if (s.fromMemory) {
    chunk = s.memory.substr(s.memoryPosition, kChunkBytes);
    s.memoryPosition += chunk.size();
  } else if (s.file.ReadChunk(chunk, kChunkBytes) == TextFileReader::Status::Error) {
    s.error = "Ошибка чтения файла";
    return false;
  }
  const bool last = chunk.empty();
  if (XML_Parse(s.parser, chunk.data(), static_cast<int>(chunk.size()), last) == XML_STATUS_ERROR) {
    if (s.error.empty()) {
      s.error = std::string(XML_ErrorString(XML_GetErrorCode(s.parser))) + " (строка " +
                std::to_string(XML_GetCurrentLineNumber(s.parser)) + ")";
    }
    return false;
  }
  s.fed += static_cast<std::int64_t>(chunk.size());
  // The parser keeps an unfinished tag, comment or value whole: a file that
  // never finishes one would be held in memory entire.
  if (s.fed - s.lastEvent > static_cast<std::int64_t>(kMaxPendingBytes)) {
    s.error = "Слишком длинная запись (строка " +
              std::to_string(XML_GetCurrentLineNumber(s.parser)) + ")";
    return false;
  }
  if (last) {
    s.ended = true;
    s.file.Close();
  }
  return true;
}

XmlRowReader::Status XmlRowReader::Peek(const XmlRow** row) {
  State& s = *state_;
  while (s.rows.empty()) {
    if (!s.error.empty() || s.parser == nullptr) return Status::Error;
    if (s.ended) return Status::End;
    if (!Feed()) return Status::Error;
  }
  *row = &s.rows.front();
  return Status::Row;
}

void XmlRowReader::Pop() {
  if (!state_->rows.empty()) state_->rows.pop_front();
}

bool XmlRowReader::Utf8() const { return state_->utf8; }

const std::string& XmlRowReader::RootName() const { return state_->rootName; }

const std::string& XmlRowReader::ErrorText() const { return state_->error; }

}  // namespace kordavelt
