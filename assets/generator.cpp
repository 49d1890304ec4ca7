// Writes the shipped picture set into the game folder: every picture drawn,
// packed into the image archives, and listed in the image index, plus a
// manifest for review. Usage: quarvelt_assetgen <assets folder> <game folder> <manifest>
#include <QByteArray>
#include <QCryptographicHash>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "bmp.h"
#include "common/image_index.h"
#include "model.h"
#include "painter.h"
#include "platform/files.h"

namespace {

// Board pictures are spread over archives of about this size; tool pictures
// have the first archive to themselves.
constexpr size_t ArchiveTarget = 8u << 20;
constexpr int ToolArchive = 1;

std::string ArchiveId(int number) {
    char id[8];
    std::snprintf(id, sizeof id, "%06d", number);
    return id;
}

bool ReadText(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return true;
}

QImage Paint(const assets::Picture& p) {
    if (p.tool)
        return assets::PaintToolPicture(p.toolCode, p.code, p.down);
    assets::BoardPicture b;
    b.code = p.code;
    b.entrySide = p.entrySide;
    b.inSize = p.inSize;
    b.inColour = p.inColour;
    b.out1 = {p.out1.size, p.out1.colour, p.out1.direction};
    b.out2 = {p.out2.size, p.out2.colour, p.out2.direction};
    b.frame = p.frame;
    b.frames = p.frames;
    b.state = p.state;
    b.emission = p.emission;
    return assets::PaintBoardPicture(b);
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "quarvelt_assetgen: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4)
        return Fail("usage: quarvelt_assetgen <assets folder> <game folder> <manifest>");
    const auto started = std::chrono::steady_clock::now();
    const std::string tables = argv[1], out = std::string(argv[2]) + "/", manifestPath = argv[3];

    std::string objectsText, rulesText, error;
    if (!ReadText(tables + "/objects.txt", objectsText) ||
        !ReadText(tables + "/rules.txt", rulesText))
        return Fail("cannot read the tables in " + tables);
    std::vector<assets::ObjectEntry> objects;
    std::vector<assets::Rule> rules;
    std::vector<assets::Picture> pictures;
    if (!assets::ParseObjects(objectsText, objects, error) ||
        !assets::ParseRules(rulesText, rules, error) ||
        !assets::ExpandPictures(objects, rules, pictures, error))
        return Fail(error);

    struct Placed {
        int archive;
        int32_t offset;  // 1-based
        int32_t size;    // bytes - 1
    };
    std::map<int, std::string> archives;
    std::map<QByteArray, Placed> placedByHash;  // identical pictures share their bytes
    std::vector<Placed> placed;
    placed.reserve(pictures.size());
    int boardArchive = ToolArchive + 1;
    for (const auto& picture : pictures) {
        const std::string bytes = assets::EncodeIndexedBmp(Paint(picture));
        const QByteArray hash =
            QCryptographicHash::hash(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())),
                                     QCryptographicHash::Sha256);
        const bool tool = picture.tool;
        auto found = placedByHash.find(hash);
        if (found != placedByHash.end() && (found->second.archive == ToolArchive) == tool) {
            placed.push_back(found->second);
            continue;
        }
        int archive = tool ? ToolArchive : boardArchive;
        if (!tool && !archives[archive].empty() &&
            archives[archive].size() + bytes.size() > ArchiveTarget)
            archive = ++boardArchive;
        std::string& data = archives[archive];
        const Placed where{archive, static_cast<int32_t>(data.size() + 1),
                           static_cast<int32_t>(bytes.size() - 1)};
        data += bytes;
        placedByHash.emplace(hash, where);
        placed.push_back(where);
    }

    if (auto e = platform::CreateFolder(out))
        return Fail("cannot create " + out + ": " + e.description);
    // Archives of an earlier, larger set would linger in the folder.
    std::vector<std::string> existing;
    platform::ListFiles(out, existing);
    for (const auto& name : existing)
        if (name.size() == 18 && name.compare(0, 8, "QUARVELT") == 0 &&
            name.compare(14, 4, ".MIX") == 0 &&
            !archives.count(std::atoi(name.substr(8, 6).c_str())))
            platform::DeleteFile(out + name);
    for (const auto& [number, data] : archives)
        if (auto e = platform::WriteFileAtomic(out + "QUARVELT" + ArchiveId(number) + ".MIX", data))
            return Fail("cannot write archive " + ArchiveId(number) + ": " + e.description);

    std::vector<platform::RecordBuffer> records;
    std::ostringstream manifest;
    manifest << "# record  name                        archive  offset    size  behaviour\n";
    for (size_t i = 0; i < pictures.size(); ++i) {
        quarvelt::ImageIndexRecord record;
        record.archiveId = ArchiveId(placed[i].archive);
        record.imageName = pictures[i].name;
        record.imageSize = placed[i].size;
        record.recType = 'B';
        record.archiveOffset = placed[i].offset;
        records.push_back(record.ToRecord());
        char line[128];
        std::snprintf(line, sizeof line, "%6zu  %-26s  %s  %8d  %6d  ", i + 1,
                      pictures[i].name.c_str(), record.archiveId.c_str(), placed[i].offset,
                      placed[i].size);
        manifest << line << pictures[i].behaviour << "\n";
    }
    if (auto e = platform::WriteRecordFile(out + quarvelt::ImageIndexName, records))
        return Fail("cannot write the index: " + e.description);
    if (auto e = platform::WriteFileAtomic(manifestPath, manifest.str()))
        return Fail("cannot write the manifest: " + e.description);

    size_t total = 0;
    std::string sizes;
    for (const auto& [number, data] : archives) {
        total += data.size();
        sizes += " " + ArchiveId(number) + "=" + std::to_string(data.size());
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("picture set: %zu records, %zu distinct pictures, archives%s (%zu bytes), %.1f s\n",
                pictures.size(), placedByHash.size(), sizes.c_str(), total, seconds);
    return 0;
}
