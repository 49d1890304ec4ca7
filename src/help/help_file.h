// The help manual "QUARVELT.HLP": one fixed record of 25 lines per page, in the
// order the pages were added, found by page number; and the page model each help
// window owns, through which a page travels between the file and the window.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/globals.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/records.h"

namespace quarvelt {

inline constexpr const char* HelpManualName = "QUARVELT.HLP";
inline constexpr size_t HelpPageRecordLength = 2729;
inline constexpr size_t HelpPageLineLength = 109;
inline constexpr int HelpPageLines = 25;
inline constexpr size_t HelpTextWidth = 80;
inline constexpr size_t HelpFontNameWidth = 15;
// Page and topic numbers are 16-bit, so a manual holds no more records than this.
inline constexpr size_t MaxHelpPages = 32767;

inline constexpr int32_t HelpBlack = 0;
inline constexpr int32_t HelpWhite = 16777215;  // &H00FFFFFF

// One line of a stored page (109 bytes). Colours are &H00BBGGRR.
struct HelpPageLine {
    std::string text;  // 80 characters; read without its trailing blanks
    int32_t backColor = HelpWhite;
    int32_t foreColor = HelpBlack;
    std::string fontName;  // 15 characters; read trimmed
    int16_t fontSize = 11;
    Flag fontBold = False;
    Flag fontItalic = False;
};

// One page (2729 bytes): page and topic number, then line 1 (top) to line 25.
struct HelpPageRecord {
    int16_t pageNo = 0;
    int16_t topicNo = 0;
    std::array<HelpPageLine, HelpPageLines> lines;

    static HelpPageRecord FromRecord(const platform::RecordBuffer& record);
    // Texts are cut or blank-filled to their width; the flags are stored as given.
    platform::RecordBuffer ToRecord() const;
};

// A row of the page model: one line as a window shows it.
struct PageLine {
    int32_t foreColor = HelpBlack;
    std::string fontName = "Courier New";
    int16_t fontSize = 11;
    std::string text;  // without trailing blanks
    Flag fontBold = True;
    Flag fontItalic = False;
    int32_t backColor = HelpWhite;
};

// The 25 lines of a page as a window shows them, top first.
using PageTable = std::array<PageLine, HelpPageLines>;

// The page model's line for a stored line, and the stored line for a model line (the
// text without trailing blanks, any non-zero flag stored as -1).
PageLine PageLineFromRecord(const HelpPageLine& line);
HelpPageLine RecordLineFromPage(const PageLine& line);
HelpPageRecord MakeHelpPageRecord(int16_t pageNo, int16_t topicNo, const PageTable& page);

struct HelpManualContents {
    std::vector<HelpPageRecord> pages;  // in file order
    size_t trailingBytes = 0;           // bytes after the last whole record; not a page
};

// Reads every whole record. A missing manual reads as empty and is not created; one of
// more than MaxHelpPages records is refused before it is read.
platform::RuntimeError ReadHelpManual(const std::string& path, HelpManualContents& contents);
// Replaces the manual with `pages`, written in the order given, all at once.
platform::RuntimeError WriteHelpManual(const std::string& path,
                                       const std::vector<HelpPageRecord>& pages);

// The manual as stored, byte for byte, for writing one page into it: every
// other record, and any bytes after the last whole record, stay as they were.
struct HelpManualBytes {
    std::string bytes;

    size_t Count() const { return bytes.size() / HelpPageRecordLength; }
    // The position of the first record of page `pageNo`, or Count() when none has it.
    size_t Find(int16_t pageNo) const;
    // Record `index` becomes `page`; Count() adds it after the last whole
    // record, ahead of any bytes that follow. Error 6 past MaxHelpPages.
    platform::RuntimeError Put(size_t index, const HelpPageRecord& page);
};
// A missing manual reads as empty; one of more than MaxHelpPages records is refused unread.
platform::RuntimeError ReadHelpManualBytes(const std::string& path, HelpManualBytes& manual);
// Replaces the manual with `manual`, all at once.
platform::RuntimeError WriteHelpManualBytes(const std::string& path, const HelpManualBytes& manual);

// The page model of one help window and the look-ups that fill it.
class HelpPageModel {
  public:
    std::string HelpFileName;  // the manual's full path
    PageTable PageArr;
    int16_t CurPage = 0;
    int16_t CurTopic = 0;  // set by every look-up; only the help writer shows it

    // Every line back to the default: empty, black on white, "Courier New" 11, bold.
    void ClearPageArr();

    // Loads page `pageNumber` into PageArr and sets CurTopic. Result 0, with
    // numPagInTopic the number of records of the page's topic; or -1 after a message,
    // with the model unchanged (and numPagInTopic 0 when page 0 was refused).
    int16_t GetPage(int16_t pageNumber, int16_t& numPagInTopic);
    // The help writer's form: no topic page count wanted.
    int16_t GetPage(int16_t pageNumber);

  private:
    // The page and topic numbers of every record, read at the first look-up and
    // again only when the manual changes, so that a page turn reads one record
    // however large the manual is.
    struct Headers {
        std::string path;
        platform::FileStamp stamp;
        uint64_t writes = 0;  // this program's manual writes when they were read
        std::vector<std::array<int16_t, 2>> numbers;  // page, topic; in file order
        bool valid = false;
    };
    int16_t LookUp(int16_t pageNumber, int16_t& numPagInTopic, bool& stale);

    Headers headers_;
};

}  // namespace quarvelt
