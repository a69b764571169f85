#include "storage/db_reader.h"

#include <algorithm>
#include <limits>

#include "base/cp1251.h"

namespace kordavelt {
namespace {

using Page = std::array<std::uint8_t, db::kPageSize>;

std::string Num(long long value) { return std::to_string(value); }

std::string StructureError(int table) { return "Ошибка структуры таблицы № " + Num(table) + ": "; }

// The signature as the user should see it: UTF-8, control bytes as '?'.
std::string PrintableSignature(const std::string& raw) {
  std::string cleaned = raw;
  for (char& c : cleaned) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return Cp1251ToUtf8(cleaned);
}

std::string Quoted(std::string_view text) { return "«" + std::string(text) + "»"; }

// Pages referenced so far; a page referenced twice is damage.
class PageMap {
 public:
  PageMap() : used_(db::kMaxPageNumber + 1, false) {}
  // False when the page was already claimed.
  bool Claim(int page) {
    if (used_[page]) return false;
    used_[page] = true;
    return true;
  }

 private:
  std::vector<bool> used_;
};

// One walk over a table's index in key order, as the engine's GoTo(1), Next,
// Next ... would see it, checking every invariant on the way.
class TableWalk {
 public:
  TableWalk(RandomAccessFile& file, int pageCount, PageMap& pages, int table, int slotLength,
            std::vector<DbRecord>* records, std::vector<DbProblem>& problems)
      : file_(file),
        pageCount_(pageCount),
        pages_(pages),
        table_(table),
        slotLength_(slotLength),
        capacity_(db::RecordsPerPage(slotLength)),
        records_(records),
        problems_(table, StructureError(table) + "прочие ошибки таблицы не показаны", problems) {}

  // Walks from the root; `descriptorCount` is checked against the index.
  void Run(int rootPage, int descriptorCount);

 private:
  void Structure(const std::string& detail) { problems_.Add(StructureError(table_) + detail); }
  bool Stopped() const { return stopped_ || problems_.Full(); }

  // True when `page`, which `where` points at, may be read: not 0, within
  // the page count and not referenced before.
  bool ClaimPage(int page, const std::string& where);

  // Checks mark, level, table number and entry count of a root or a
  // second-level page; true when its entries can be walked.
  bool CheckIndexPage(ConstBytes index, int page, bool isRoot);

  // Entries of a one-level root or of a second-level page: each names a data
  // page. `before` is the count before entry 1, `delta` the stale-count
  // correction, `lastBound` the greatest key the last entry's page may hold.
  void WalkDataEntries(ConstBytes index, int page, int before, int delta, std::int32_t lastBound);

  // Entries of a two-level root: each names a second-level page.
  void WalkRootEntries(ConstBytes root, int page);

  void WalkDataPage(int page, int records, std::int32_t upperBound);

  // Upper keys ascend and cumulative counts do not decrease; returns the
  // records under the entry, or -1 when its count is unusable.
  int CheckEntry(int page, int entry, std::int32_t upperKey, std::int32_t& previousKey,
                 int cumulative, int& previousCount, int maxRecords);

  RandomAccessFile& file_;
  int pageCount_;
  PageMap& pages_;
  int table_;
  int slotLength_;
  int capacity_;
  std::vector<DbRecord>* records_;
  TableProblems problems_;
  bool stopped_ = false;
  long long recordNumber_ = 0;
  std::int32_t lastKey_ = std::numeric_limits<std::int32_t>::min();
};

std::string EntryName(int page, int entry) {
  return "элемент " + Num(entry) + " индексной страницы " + Num(page);
}

bool TableWalk::ClaimPage(int page, const std::string& where) {
  if (page == 0) {
    Structure(where + " указывает на страницу 0");
    return false;
  }
  if (page > pageCount_) {
    Structure(where + " указывает на страницу " + Num(page) + ", а последняя страница файла — " +
              Num(pageCount_));
    return false;
  }
  if (!pages_.Claim(page)) {
    Structure(where + " указывает на страницу " + Num(page) + ", которая уже используется");
    return false;
  }
  return true;
}

bool TableWalk::CheckIndexPage(ConstBytes index, int page, bool isRoot) {
  const std::string name =
      (isRoot ? "корневой страницы " : "страницы вторичного индекса ") + Num(page);
  const int mark = db::IndexMark(index);
  if (mark != db::kIndexMark) {
    Structure("метка " + name + " равна " + Num(mark) + ", а не 1");
    return false;
  }
  const int level = db::IndexLevel(index);
  const bool levelOk = isRoot ? level == db::kLevelOneLevelRoot || level == db::kLevelTwoLevelRoot
                              : level == db::kLevelSecond;
  if (!levelOk) {
    Structure("уровень " + name + " равен " + Num(level) + ", а не " + (isRoot ? "0 или 1" : "2"));
    return false;
  }
  const int owner = db::IndexTable(index);
  if (owner != table_) Structure("номер таблицы " + name + " равен " + Num(owner));
  const int count = db::IndexEntryCount(index);
  if (count < 1 || count > db::kMaxEntries) {
    Structure("число элементов " + name + " равно " + Num(count) + ", допустимо от 1 до 255");
    return false;
  }
  return true;
}

int TableWalk::CheckEntry(int page, int entry, std::int32_t upperKey, std::int32_t& previousKey,
                          int cumulative, int& previousCount, int maxRecords) {
  if (entry > 1 && upperKey < previousKey) {
    Structure(EntryName(page, entry) + ": верхний ключ " + Num(upperKey) +
              " меньше ключа предыдущего элемента (" + Num(previousKey) + ")");
  }
  previousKey = upperKey;
  const int records = cumulative - previousCount;
  if (records < 0) {
    Structure(EntryName(page, entry) + ": накопленное число записей " + Num(cumulative) +
              " меньше предыдущего (" + Num(previousCount) + ")");
    return -1;
  }
  previousCount = cumulative;
  if (records > maxRecords) {
    Structure(EntryName(page, entry) + ": " + Num(records) + " записей, а на страницу помещается " +
              Num(maxRecords));
    return -1;
  }
  return records;
}

void TableWalk::Run(int rootPage, int descriptorCount) {
  if (rootPage == 0) {
    Structure("нет корневой страницы");
    return;
  }
  if (!ClaimPage(rootPage, "описатель")) return;
  Page root;
  if (const int error = ReadPage(file_, rootPage, root); error != 0) {
    problems_.Add("Ошибка диска Init Код № " + Num(-error) + ": корневая страница " +
                  Num(rootPage) + " таблицы № " + Num(table_) + " не читается");
    return;
  }
  if (!CheckIndexPage(root, rootPage, true)) return;

  const int count = db::IndexEntryCount(root);
  const std::int32_t lastKey = db::EntryUpperKey(root, count);
  if (lastKey != db::kLastUpperKey) {
    Structure("последний верхний ключ корневой страницы " + Num(lastKey) + " вместо 2147483647");
  }
  if (db::IndexLevel(root) == db::kLevelOneLevelRoot) {
    WalkDataEntries(root, rootPage, 0, 0, lastKey);
  } else {
    WalkRootEntries(root, rootPage);
  }

  const int indexCount = db::EntryCumulative(root, count);
  if (descriptorCount != indexCount && !Stopped()) {
    Structure("в описателе " + Num(descriptorCount) + " записей, а по индексу " + Num(indexCount));
  }
}

void TableWalk::WalkRootEntries(ConstBytes root, int rootPage) {
  const int count = db::IndexEntryCount(root);
  std::int32_t previousKey = 0;
  int previousCount = 0;
  for (int r = 1; r <= count && !Stopped(); ++r) {
    const std::int32_t upperKey = db::EntryUpperKey(root, r);
    const int cumulative = db::EntryCumulative(root, r);
    const int before = previousCount;
    const int records = CheckEntry(rootPage, r, upperKey, previousKey, cumulative, previousCount,
                                   db::kMaxEntries * capacity_);
    const int page = db::EntryPage(root, r);
    if (!ClaimPage(page, EntryName(rootPage, r)) || records < 0) continue;

    Page second;
    if (const int error = ReadPage(file_, page, second); error != 0) {
      problems_.Add("Ошибка ключа2 в таблице № " + Num(table_) + ": страница " + Num(page) +
                    " не читается, код " + Num(-error));
      continue;
    }
    if (!CheckIndexPage(second, page, false)) continue;
    const int secondCount = db::IndexEntryCount(second);
    if (r == count && db::EntryUpperKey(second, secondCount) != db::kLastUpperKey) {
      Structure("последний верхний ключ страницы вторичного индекса " + Num(page) + " " +
                Num(db::EntryUpperKey(second, secondCount)) + " вместо 2147483647");
    }
    // Counts of a page that was not in memory at the last insert or delete are
    // all off by one amount; the root's count is the truth.
    WalkDataEntries(second, page, before, db::StaleCountDelta(second, cumulative), upperKey);
  }
}

void TableWalk::WalkDataEntries(ConstBytes index, int indexPage, int before, int delta,
                                std::int32_t lastBound) {
  const int count = db::IndexEntryCount(index);
  std::int32_t previousKey = 0;
  int previousCount = before;
  for (int i = 1; i <= count && !Stopped(); ++i) {
    const std::int32_t upperKey = db::EntryUpperKey(index, i);
    const int cumulative = db::EntryCumulative(index, i) + delta;
    const int records =
        CheckEntry(indexPage, i, upperKey, previousKey, cumulative, previousCount, capacity_);
    const int page = db::EntryPage(index, i);
    if (!ClaimPage(page, EntryName(indexPage, i)) || records <= 0) continue;
    WalkDataPage(page, records, i == count ? lastBound : upperKey);
  }
}

void TableWalk::WalkDataPage(int page, int records, std::int32_t upperBound) {
  Page data;
  if (const int error = ReadPage(file_, page, data); error != 0) {
    problems_.Add("Ошибка ключа в таблице № " + Num(table_) + ": страница " + Num(page) +
                  " не читается, код " + Num(-error));
    return;
  }
  for (int k = 0; k < records && !Stopped(); ++k) {
    if (recordNumber_ == db::kMaxRecords) {
      Structure("больше 32767 записей");
      stopped_ = true;
      return;
    }
    ++recordNumber_;
    const std::int32_t key = db::RecordKey(data, slotLength_, k);
    if (key < lastKey_) {
      Structure("страница " + Num(page) + ": ключ " + Num(key) + " записи № " + Num(recordNumber_) +
                " меньше ключа предыдущей записи (" + Num(lastKey_) + ")");
    }
    if (key > upperBound) {
      Structure("страница " + Num(page) + ": ключ " + Num(key) + " записи № " + Num(recordNumber_) +
                " больше верхнего ключа " + Num(upperBound));
    }
    lastKey_ = key;
    if (records_ != nullptr) {
      const ConstBytes bytes = db::RecordData(data, slotLength_, k);
      records_->push_back(DbRecord{key, std::vector<std::uint8_t>(bytes.begin(), bytes.end())});
    }
  }
}

std::string SlotLengthProblem(int table, int slotLength) {
  return StructureError(table) + "недопустимая длина слота " + Num(slotLength);
}

bool ValidSlotLength(int slotLength) {
  return slotLength == db::kSlotUnused || slotLength == db::kSlotRawBlock ||
         db::IsTableSlotLength(slotLength);
}

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  const std::string_view tail = text.substr(text.size() - suffix.size());
  return std::equal(tail.begin(), tail.end(), suffix.begin(), [](char a, char b) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return upper(a) == upper(b);
  });
}

}  // namespace

void TableProblems::Add(std::string text) {
  if (full_) return;
  if (count_ == kMaxProblemsPerTable) {
    out_.push_back({table_, summary_});
    full_ = true;
    return;
  }
  out_.push_back({table_, std::move(text)});
  ++count_;
}

std::optional<db::FileKind> FileKindFromPath(std::string_view path) {
  for (const db::FileKind kind : {db::FileKind::Model, db::FileKind::ReferenceBook}) {
    const std::string extension(db::ExtensionOf(kind));
    if (EndsWithNoCase(path, "." + extension) || EndsWithNoCase(path, ".~" + extension)) {
      return kind;
    }
  }
  return std::nullopt;
}

DbReader::DbReader(RandomAccessFile& file, std::optional<db::FileKind> expected) : file_(file) {
  ReadHeader(expected);
}

void DbReader::ReadHeader(std::optional<db::FileKind> expected) {
  const std::string formatError = "Ошибка формата файла базы данных";
  if (const int error = ReadPage(file_, 0, header_); error != 0) {
    headerProblems_.push_back({0, formatError + ": заголовок не читается, код " + Num(-error)});
    return;
  }
  for (const db::FileKind kind : {db::FileKind::Model, db::FileKind::ReferenceBook}) {
    if (db::HasSignature(header_, db::SignatureOf(kind))) kind_ = kind;
  }
  accepted_ = kind_.has_value() && (!expected || *expected == *kind_);
  if (!accepted_) {
    const std::string wanted =
        expected ? Quoted(db::SignatureOf(*expected))
                 : Quoted(db::kModelSignature) + " или " + Quoted(db::kReferenceBookSignature);
    headerProblems_.push_back({0, formatError + ": подпись " +
                                      Quoted(PrintableSignature(db::StoredSignature(header_))) +
                                      " вместо " + wanted});
    return;
  }

  const std::int32_t stored = db::PageCount(header_);
  if (stored >= 0 && stored <= db::kMaxPageNumber) {
    pageCount_ = stored;
    return;
  }
  // As the engine does: the page count is rebuilt from the file size.
  const std::int64_t size = file_.Size();
  const std::int64_t rebuilt = size < 0 ? 0 : size / db::kPageSize - 1;
  pageCount_ = static_cast<int>(std::clamp<std::int64_t>(rebuilt, 0, db::kMaxPageNumber));
  headerProblems_.push_back({0, "Проблемы файла БД!: число страниц в заголовке " + Num(stored) +
                                    " вне 0…65535, по размеру файла принято " + Num(pageCount_)});
}

std::vector<DbTableInfo> DbReader::Tables() {
  std::vector<DbTableInfo> tables;
  if (!accepted_) return tables;
  for (int t = 1; t <= db::kMaxTables; ++t) {
    const int slotLength = db::SlotLength(header_, t);
    if (slotLength == db::kSlotUnused) continue;
    DbTableInfo info;
    info.number = t;
    info.slotLength = slotLength;
    info.recordCount = db::DescriptorCount(header_, t);
    info.rootPage = db::RootPage(header_, t);
    info.rawBlock = slotLength == db::kSlotRawBlock;
    if (!info.rawBlock && info.rootPage != 0 && info.rootPage <= pageCount_) {
      Page root;
      if (ReadPage(file_, info.rootPage, root) == 0 && db::IndexMark(root) == db::kIndexMark) {
        const std::uint8_t level = db::IndexLevel(root);
        if (level == db::kLevelOneLevelRoot) info.levels = 1;
        if (level == db::kLevelTwoLevelRoot) info.levels = 2;
      }
    }
    tables.push_back(info);
  }
  return tables;
}

DbTableContents DbReader::ReadTable(int table) {
  DbTableContents contents;
  if (!accepted_) {
    contents.problems = headerProblems_;
    return contents;
  }
  if (!db::IsTableNumber(table)) {
    contents.problems.push_back({table, "Таблицы № " + Num(table) + " нет"});
    return contents;
  }
  const int slotLength = db::SlotLength(header_, table);
  if (slotLength == db::kSlotRawBlock) {
    contents.problems.push_back({table, "Номер " + Num(table) + " занят блоком данных"});
    return contents;
  }
  if (!ValidSlotLength(slotLength)) {
    contents.problems.push_back({table, SlotLengthProblem(table, slotLength)});
    return contents;
  }
  // An unused number holds nothing; the scratch table's root is never stored.
  if (slotLength == db::kSlotUnused || table == db::kScratchTable) return contents;

  PageMap pages;
  TableWalk walk(file_, pageCount_, pages, table, slotLength, &contents.records, contents.problems);
  walk.Run(db::RootPage(header_, table), db::DescriptorCount(header_, table));
  return contents;
}

DbRawBlock DbReader::ReadRawBlock(int table) {
  DbRawBlock block;
  block.bytes.assign(db::kPageSize, 0);
  if (!accepted_) {
    block.problems = headerProblems_;
    return block;
  }
  if (!db::IsTableNumber(table)) {
    block.problems.push_back({table, "Таблицы N " + Num(table) + " нет"});
    return block;
  }
  const int page = db::RootPage(header_, table);
  if (page == 0) return block;  // never written: reads as zeros
  if (page > pageCount_) {
    // The engine's message for a raw block is written without the space after "№".
    block.problems.push_back({table, "Ошибка структуры таблицы №" + Num(table) +
                                         ": описатель указывает на страницу " + Num(page) +
                                         ", а последняя страница файла — " + Num(pageCount_)});
    return block;
  }
  if (const int error = ReadPage(file_, page, block.bytes); error != 0) {
    block.problems.push_back({table, "Ошибка чтения блока № " + Num(table) + ": страница " +
                                         Num(page) + " не читается, код " + Num(-error)});
  }
  return block;
}

std::vector<DbProblem> DbReader::Check() {
  std::vector<DbProblem> problems = headerProblems_;
  if (!accepted_) return problems;

  PageMap pages;
  for (int t = 1; t <= db::kMaxTables; ++t) {
    const int slotLength = db::SlotLength(header_, t);
    const int rootPage = db::RootPage(header_, t);
    if (!ValidSlotLength(slotLength)) {
      problems.push_back({t, SlotLengthProblem(t, slotLength)});
    } else if (slotLength == db::kSlotUnused) {
      // A cleared table keeps its root for the day it is created again.
      if (rootPage > pageCount_) {
        problems.push_back({t, StructureError(t) + "описатель удалённой таблицы указывает на " +
                                   "страницу " + Num(rootPage) + ", а последняя страница файла — " +
                                   Num(pageCount_)});
      }
    } else if (slotLength == db::kSlotRawBlock) {
      DbRawBlock block = ReadRawBlock(t);
      problems.insert(problems.end(), block.problems.begin(), block.problems.end());
      if (block.problems.empty() && rootPage != 0 && !pages.Claim(rootPage)) {
        problems.push_back({t, "Ошибка структуры таблицы №" + Num(t) +
                                   ": описатель указывает на страницу " + Num(rootPage) +
                                   ", которая уже используется"});
      }
    } else if (t != db::kScratchTable) {
      TableWalk walk(file_, pageCount_, pages, t, slotLength, nullptr, problems);
      walk.Run(rootPage, db::DescriptorCount(header_, t));
    }
  }
  return problems;
}

}  // namespace kordavelt
