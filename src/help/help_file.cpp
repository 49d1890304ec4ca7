#include "help/help_file.h"

#include <algorithm>
#include <atomic>
#include <fstream>

#include "common/text.h"
#include "platform/files.h"
#include "platform/services.h"

namespace quarvelt {

namespace {

constexpr size_t PageNoOffset = 0;
constexpr size_t TopicNoOffset = 2;
constexpr size_t FirstLineOffset = 4;

// Offsets within a line.
constexpr size_t TextOffset = 0;
constexpr size_t BackColorOffset = 80;
constexpr size_t ForeColorOffset = 84;
constexpr size_t FontNameOffset = 88;
constexpr size_t FontSizeOffset = 103;
constexpr size_t FontBoldOffset = 105;
constexpr size_t FontItalicOffset = 107;

static_assert(FontItalicOffset + 2 == HelpPageLineLength);
static_assert(FirstLineOffset + HelpPageLines * HelpPageLineLength == HelpPageRecordLength);

std::string TrimRight(const std::string& text) {
    const auto last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

Flag AsFlag(int16_t value) {
    return value != 0 ? True : False;
}

size_t LineOffset(int line) {
    return FirstLineOffset + static_cast<size_t>(line) * HelpPageLineLength;
}

// Manual writes of this program; a look-up's headers read before the last one are stale
// even when the file's size and time stamp could not tell.
std::atomic<uint64_t> ManualWrites{0};

// A manual opened for look-ups: the headers are read in blocks, a page alone.
class HelpManualReader {
  public:
    // A missing manual opens as one without pages.
    platform::RuntimeError Open(const std::string& path) {
        if (!platform::IsFile(path)) {
            if (platform::IsFolder(path))
                return platform::MakeError(platform::ErrPathFileAccess);
            return {};
        }
        uint64_t size = 0;
        if (auto error = platform::FileSize(path, size))
            return error;
        if (size / HelpPageRecordLength > MaxHelpPages)
            return platform::MakeError(platform::ErrOverflow);
        count_ = static_cast<size_t>(size / HelpPageRecordLength);
        if (count_ == 0)
            return {};
        file_.open(platform::ResolveCase(path), std::ios::binary);
        if (!file_)
            return platform::MakeError(platform::ErrPathFileAccess);
        return {};
    }

    // The page and topic numbers of every whole record, in file order.
    platform::RuntimeError Headers(std::vector<std::array<int16_t, 2>>& numbers) {
        numbers.clear();
        numbers.reserve(count_);
        // Blocks of records keep the memory small and the reads few.
        constexpr size_t Block = 384;
        std::string bytes;
        for (size_t first = 0; first < count_; first += Block) {
            const size_t n = std::min(Block, count_ - first);
            if (auto error = Read(first, n * HelpPageRecordLength, bytes))
                return error;
            for (size_t i = 0; i < n; ++i) {
                const platform::RecordBuffer header(bytes.substr(i * HelpPageRecordLength, 4));
                numbers.push_back({header.GetInt16(PageNoOffset), header.GetInt16(TopicNoOffset)});
            }
        }
        return {};
    }

    platform::RuntimeError Page(size_t index, HelpPageRecord& page) {
        std::string bytes;
        if (index >= count_)
            return platform::MakeError(platform::ErrPastEnd);
        if (auto error = Read(index, HelpPageRecordLength, bytes))
            return error;
        page = HelpPageRecord::FromRecord(platform::RecordBuffer(std::move(bytes)));
        return {};
    }

  private:
    // `length` bytes from record `index`; a file cut short meanwhile is an error.
    platform::RuntimeError Read(size_t index, size_t length, std::string& bytes) {
        bytes.assign(length, '\0');
        file_.seekg(static_cast<std::streamoff>(index * HelpPageRecordLength));
        file_.read(bytes.data(), static_cast<std::streamsize>(length));
        if (!file_)
            return platform::MakeError(platform::ErrPastEnd);
        return {};
    }

    std::ifstream file_;
    size_t count_ = 0;
};

void ShowFileError(const platform::RuntimeError& error) {
    platform::Beep();
    platform::MsgBox(platform::ErrorText(error), platform::MsgExclamation | platform::MsgOkOnly,
                     "GET HELP PAGE ERROR");
}

}  // namespace

HelpPageRecord HelpPageRecord::FromRecord(const platform::RecordBuffer& record) {
    HelpPageRecord page;
    page.pageNo = record.GetInt16(PageNoOffset);
    page.topicNo = record.GetInt16(TopicNoOffset);
    for (int k = 0; k < HelpPageLines; ++k) {
        const size_t at = LineOffset(k);
        HelpPageLine& line = page.lines[static_cast<size_t>(k)];
        line.text = TrimRight(record.GetText(at + TextOffset, HelpTextWidth));
        line.backColor = record.GetInt32(at + BackColorOffset);
        line.foreColor = record.GetInt32(at + ForeColorOffset);
        line.fontName = TrimBlanks(record.GetText(at + FontNameOffset, HelpFontNameWidth));
        line.fontSize = record.GetInt16(at + FontSizeOffset);
        line.fontBold = record.GetInt16(at + FontBoldOffset);
        line.fontItalic = record.GetInt16(at + FontItalicOffset);
    }
    return page;
}

platform::RecordBuffer HelpPageRecord::ToRecord() const {
    platform::RecordBuffer record(HelpPageRecordLength);
    record.PutInt16(PageNoOffset, pageNo);
    record.PutInt16(TopicNoOffset, topicNo);
    for (int k = 0; k < HelpPageLines; ++k) {
        const size_t at = LineOffset(k);
        const HelpPageLine& line = lines[static_cast<size_t>(k)];
        record.PutText(at + TextOffset, HelpTextWidth, line.text);
        record.PutInt32(at + BackColorOffset, line.backColor);
        record.PutInt32(at + ForeColorOffset, line.foreColor);
        record.PutText(at + FontNameOffset, HelpFontNameWidth, line.fontName);
        record.PutInt16(at + FontSizeOffset, line.fontSize);
        record.PutInt16(at + FontBoldOffset, line.fontBold);
        record.PutInt16(at + FontItalicOffset, line.fontItalic);
    }
    return record;
}

PageLine PageLineFromRecord(const HelpPageLine& line) {
    PageLine row;
    row.foreColor = line.foreColor;
    row.fontName = line.fontName;
    row.fontSize = line.fontSize;
    row.text = TrimRight(line.text);
    row.fontBold = AsFlag(line.fontBold);
    row.fontItalic = AsFlag(line.fontItalic);
    row.backColor = line.backColor;
    return row;
}

HelpPageLine RecordLineFromPage(const PageLine& row) {
    HelpPageLine line;
    line.text = TrimRight(row.text);
    line.backColor = row.backColor;
    line.foreColor = row.foreColor;
    line.fontName = row.fontName;
    line.fontSize = row.fontSize;
    line.fontBold = AsFlag(row.fontBold);
    line.fontItalic = AsFlag(row.fontItalic);
    return line;
}

HelpPageRecord MakeHelpPageRecord(int16_t pageNo, int16_t topicNo, const PageTable& page) {
    HelpPageRecord record;
    record.pageNo = pageNo;
    record.topicNo = topicNo;
    for (size_t k = 0; k < page.size(); ++k)
        record.lines[k] = RecordLineFromPage(page[k]);
    return record;
}

platform::RuntimeError ReadHelpManual(const std::string& path, HelpManualContents& contents) {
    contents = {};
    // The size decides before anything is read, so a huge file costs nothing.
    if (platform::IsFile(path)) {
        uint64_t size = 0;
        if (auto error = platform::FileSize(path, size))
            return error;
        if (size / HelpPageRecordLength > MaxHelpPages)
            return platform::MakeError(platform::ErrOverflow);
    }
    platform::RecordFileContents raw;
    if (auto error = platform::ReadRecordFile(path, HelpPageRecordLength, raw))
        return error;
    if (raw.records.size() > MaxHelpPages)
        return platform::MakeError(platform::ErrOverflow);
    contents.pages.reserve(raw.records.size());
    for (const auto& record : raw.records)
        contents.pages.push_back(HelpPageRecord::FromRecord(record));
    contents.trailingBytes = raw.trailingBytes;
    return {};
}

platform::RuntimeError WriteHelpManual(const std::string& path,
                                       const std::vector<HelpPageRecord>& pages) {
    if (pages.size() > MaxHelpPages)
        return platform::MakeError(platform::ErrOverflow);
    std::vector<platform::RecordBuffer> records;
    records.reserve(pages.size());
    for (const auto& page : pages)
        records.push_back(page.ToRecord());
    ++ManualWrites;
    return platform::WriteRecordFile(path, records);
}

size_t HelpManualBytes::Find(int16_t pageNo) const {
    const size_t count = Count();
    for (size_t i = 0; i < count; ++i) {
        const platform::RecordBuffer header(bytes.substr(i * HelpPageRecordLength, 2));
        if (header.GetInt16(PageNoOffset) == pageNo)
            return i;
    }
    return count;
}

platform::RuntimeError HelpManualBytes::Put(size_t index, const HelpPageRecord& page) {
    const size_t count = Count();
    if (index > count || (index == count && count >= MaxHelpPages))
        return platform::MakeError(platform::ErrOverflow);
    const std::string record = page.ToRecord().Bytes();
    if (index == count)
        bytes.insert(count * HelpPageRecordLength, record);
    else
        bytes.replace(index * HelpPageRecordLength, HelpPageRecordLength, record);
    return {};
}

platform::RuntimeError ReadHelpManualBytes(const std::string& path, HelpManualBytes& manual) {
    manual.bytes.clear();
    if (!platform::IsFile(path))
        return platform::IsFolder(path) ? platform::MakeError(platform::ErrPathFileAccess)
                                        : platform::RuntimeError{};
    uint64_t size = 0;
    if (auto error = platform::FileSize(path, size))
        return error;
    if (size / HelpPageRecordLength > MaxHelpPages)
        return platform::MakeError(platform::ErrOverflow);
    return platform::ReadBytes(path, 0, size, manual.bytes);
}

platform::RuntimeError WriteHelpManualBytes(const std::string& path,
                                            const HelpManualBytes& manual) {
    ++ManualWrites;
    return platform::WriteFileAtomic(path, manual.bytes);
}

void HelpPageModel::ClearPageArr() {
    PageArr.fill(PageLine{});
}

int16_t HelpPageModel::GetPage(int16_t pageNumber, int16_t& numPagInTopic) {
    bool stale = false;
    const int16_t result = LookUp(pageNumber, numPagInTopic, stale);
    if (!stale)
        return result;
    // The manual changed in a way its stamp could not show: read its headers again.
    headers_.valid = false;
    return LookUp(pageNumber, numPagInTopic, stale);
}

int16_t HelpPageModel::LookUp(int16_t pageNumber, int16_t& numPagInTopic, bool& stale) {
    const platform::FileStamp stamp = platform::StampOf(HelpFileName);
    const uint64_t writes = ManualWrites;
    HelpManualReader manual;
    platform::RuntimeError error = manual.Open(HelpFileName);
    const bool current = headers_.valid && headers_.path == HelpFileName &&
                         headers_.stamp == stamp && headers_.writes == writes;
    if (!error && !current) {
        headers_.valid = false;
        error = manual.Headers(headers_.numbers);
        if (!error)
            headers_ = {HelpFileName, stamp, writes, std::move(headers_.numbers), true};
    }
    if (error) {
        ShowFileError(error);
        return -1;
    }
    if (HelpPageSpan == 0 && pageNumber == 0) {
        platform::Beep();
        platform::MsgBox("ERROR: PAGE ZERO(0) DOESN'T EXIST!",
                         platform::MsgExclamation | platform::MsgOkOnly, "GET  HELP  PAGE");
        numPagInTopic = 0;
        return -1;
    }

    const auto& numbers = headers_.numbers;
    size_t found = numbers.size();
    for (size_t i = 0; i < numbers.size() && found == numbers.size(); ++i)
        if (numbers[i][0] == pageNumber)
            found = i;
    if (found == numbers.size()) {
        if (current) {
            stale = true;
            return -1;
        }
        platform::Beep();
        platform::MsgBox("ERROR: PAGE NOT FOUND!", platform::MsgExclamation | platform::MsgOkOnly,
                         "GET HELP PAGE");
        return -1;
    }
    HelpPageRecord page;
    error = manual.Page(found, page);
    if (current && (error || page.pageNo != pageNumber || page.topicNo != numbers[found][1])) {
        stale = true;
        return -1;
    }
    if (error) {
        ShowFileError(error);
        return -1;
    }

    CurTopic = page.topicNo;
    for (size_t k = 0; k < PageArr.size(); ++k)
        PageArr[k] = PageLineFromRecord(page.lines[k]);

    int16_t count = 0;
    for (const auto& header : numbers)
        if (header[1] == page.topicNo)
            ++count;
    numPagInTopic = count;
    return 0;
}

int16_t HelpPageModel::GetPage(int16_t pageNumber) {
    int16_t unused = 0;
    return GetPage(pageNumber, unused);
}

}  // namespace quarvelt
