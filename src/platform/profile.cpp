#include "platform/profile.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/files.h"

namespace platform {
namespace {

// Settings files are a few lines long; anything this big is not one of ours.
constexpr uint64_t MaxProfileBytes = 4u << 20;

struct Line {
    std::string text;  // without its line ending
    std::string ending;
};

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

std::string WithoutLineBreaks(std::string text) {
    text.erase(
        std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }),
        text.end());
    return text;
}

// CR, LF and CRLF each end a line, so a file written on any system keeps its
// lines, and the writer's lines are the reader's.
std::vector<Line> SplitLines(const std::string& bytes) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        const size_t end = bytes.find_first_of("\r\n", pos);
        Line line;
        if (end == std::string::npos) {
            line.text = bytes.substr(pos);
            pos = bytes.size();
        } else {
            line.text = bytes.substr(pos, end - pos);
            const bool crlf =
                bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
            line.ending = crlf ? "\r\n" : std::string(1, bytes[end]);
            pos = end + line.ending.size();
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// Section and key names as both the reader and the writer look them up.
std::string CleanName(const std::string& name) {
    return Trim(WithoutLineBreaks(name));
}

// The section name of a header line, if the line is one.
std::optional<std::string> SectionOf(const std::string& text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    const auto close = trimmed.find(']');
    return Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// The key of a key line, if the line is one.
std::optional<std::string> KeyOf(const std::string& text) {
    const std::string trimmed = Trim(text);
    if (trimmed.empty() || trimmed.front() == ';')
        return std::nullopt;
    const auto equals = trimmed.find('=');
    if (equals == std::string::npos)
        return std::nullopt;
    return Trim(trimmed.substr(0, equals));
}

// Reads the file; a missing file is empty. Sets `error` when it exists but cannot be read.
bool LoadLines(const std::string& file, std::vector<Line>& lines, RuntimeError& error) {
    lines.clear();
    if (!IsFile(file)) {
        if (IsFolder(file)) {
            error = MakeError(ErrPathFileAccess);
            return false;
        }
        return true;
    }
    uint64_t size = 0;
    if ((error = FileSize(file, size)))
        return false;
    if (size > MaxProfileBytes) {
        error = MakeError(ErrPathFileAccess);
        return false;
    }
    std::string bytes;
    if ((error = ReadWholeFile(file, bytes)))
        return false;
    lines = SplitLines(bytes);
    return true;
}

struct Found {
    size_t sectionLine = std::string::npos;
    size_t keyLine = std::string::npos;
    size_t lastContentLine = std::string::npos;  // last non-blank line of the section
};

Found Find(const std::vector<Line>& lines, const std::string& section, const std::string& key) {
    Found found;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionOf(lines[i].text);
        if (found.sectionLine == std::string::npos) {
            if (name && SameIgnoringCase(*name, section)) {
                found.sectionLine = i;
                found.lastContentLine = i;
            }
            continue;
        }
        if (name)
            break;  // the next section
        if (!Trim(lines[i].text).empty())
            found.lastContentLine = i;
        if (found.keyLine == std::string::npos) {
            const auto k = KeyOf(lines[i].text);
            if (k && SameIgnoringCase(*k, key))
                found.keyLine = i;
        }
    }
    return found;
}

// The section must not hold the "]" that ends its header, and the key must
// not hold the "=" that ends it nor start like a comment or a header.
bool ReadableNames(const std::string& section, const std::string& key) {
    return section.find(']') == std::string::npos && key.find('=') == std::string::npos &&
           (key.empty() || (key.front() != ';' && key.front() != '['));
}

std::string ValueOf(const std::string& text) {
    std::string value = Trim(text.substr(text.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

int ProfileGetString(const std::string& section, const std::string& key,
                     const std::string& defaultValue, std::string& value, int bufferLength,
                     const std::string& file, RuntimeError* error) {
    RuntimeError failure;
    std::vector<Line> lines;
    std::string result = defaultValue;
    if (!LoadLines(file, lines, failure)) {
        if (error)
            *error = failure;
    } else {
        const Found found = Find(lines, CleanName(section), CleanName(key));
        if (found.keyLine != std::string::npos)
            result = ValueOf(lines[found.keyLine].text);
    }
    const size_t room = bufferLength > 0 ? static_cast<size_t>(bufferLength - 1) : 0;
    if (result.size() > room)
        result.resize(room);
    value = result;
    return static_cast<int>(result.size());
}

bool ProfileWriteString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file, RuntimeError* error) {
    RuntimeError failure;
    std::vector<Line> lines;
    if (!LoadLines(file, lines, failure)) {
        if (error)
            *error = failure;
        return false;
    }
    const std::string cleanSection = CleanName(section);
    const std::string cleanKey = CleanName(key);
    // A name the reader would take for something else could never be read back.
    if (!ReadableNames(cleanSection, cleanKey)) {
        if (error)
            *error = MakeError(ErrInvalidCall);
        return false;
    }
    const std::string keyLine = cleanKey + "=" + WithoutLineBreaks(value);

    std::string eol = "\n";
    for (const auto& line : lines)
        if (!line.ending.empty()) {
            eol = line.ending;
            break;
        }

    const Found found = Find(lines, cleanSection, cleanKey);
    if (found.sectionLine == std::string::npos) {
        if (!lines.empty() && lines.back().ending.empty())
            lines.back().ending = eol;
        lines.push_back({"[" + cleanSection + "]", eol});
        lines.push_back({keyLine, eol});
    } else if (found.keyLine != std::string::npos) {
        lines[found.keyLine].text = keyLine;
    } else {
        const size_t after = found.lastContentLine;
        if (lines[after].ending.empty())
            lines[after].ending = eol;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after) + 1, Line{keyLine, eol});
    }

    std::string bytes;
    for (const auto& line : lines)
        bytes += line.text + line.ending;
    // A file the reader refuses would lose every key in it.
    if (bytes.size() > MaxProfileBytes) {
        if (error)
            *error = MakeError(ErrOverflow);
        return false;
    }
    failure = WriteFileAtomic(file, bytes);
    if (failure) {
        if (error)
            *error = failure;
        return false;
    }
    return true;
}

}  // namespace platform
