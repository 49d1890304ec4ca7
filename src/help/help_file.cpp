#include "help/help_file.h"

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

void ShowFileError(const platform::RuntimeError& error) {
    platform::Beep();
    platform::MsgBox("ERROR " + std::to_string(error.number) + "\r" + error.description,
                     platform::MsgExclamation | platform::MsgOkOnly, "GET HELP PAGE ERROR");
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
    return platform::WriteRecordFile(path, records);
}

void HelpPageModel::ClearPageArr() {
    PageArr.fill(PageLine{});
}

int16_t HelpPageModel::GetPage(int16_t pageNumber, int16_t& numPagInTopic) {
    HelpManualContents manual;
    if (auto error = ReadHelpManual(HelpFileName, manual)) {
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

    const HelpPageRecord* found = nullptr;
    for (const auto& page : manual.pages) {
        if (page.pageNo == pageNumber) {
            found = &page;
            break;
        }
    }
    if (found == nullptr) {
        platform::Beep();
        platform::MsgBox("ERROR: PAGE NOT FOUND!", platform::MsgExclamation | platform::MsgOkOnly,
                         "GET HELP PAGE");
        return -1;
    }

    CurTopic = found->topicNo;
    for (size_t k = 0; k < PageArr.size(); ++k)
        PageArr[k] = PageLineFromRecord(found->lines[k]);

    int16_t count = 0;
    for (const auto& page : manual.pages) {
        if (page.topicNo == found->topicNo)
            ++count;
    }
    numPagInTopic = count;
    return 0;
}

int16_t HelpPageModel::GetPage(int16_t pageNumber) {
    int16_t unused = 0;
    return GetPage(pageNumber, unused);
}

}  // namespace quarvelt
