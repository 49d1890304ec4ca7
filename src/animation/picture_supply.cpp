#include "animation/picture_supply.h"

#include "common/globals.h"
#include "common/image_index.h"
#include "common/library.h"
#include "common/text.h"
#include "common/vocabulary.h"

namespace quarvelt {

PictureSupply SupplyPicture(const std::string& name) {
    if (FileExists(ImagePath + name))
        return PictureSupply::Present;
    const ImageIndex& index = ImageIndex::Current();
    if (index.Empty())
        return PictureSupply::NoIndex;
    const std::string wanted = UpperCase(TrimBlanks(name));
    const auto& records = index.Records();
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].recType != 'B' || index.Name(static_cast<int>(i)) != wanted)
            continue;
        ImageIndexBuffer = records[i];
        const ImageIndexRecord record = ImageIndexBuffer;
        // A picture that cannot be extracted is as absent as one the index lacks.
        if (ExtractMixFile(record.archiveId, record.archiveOffset, name, record.imageSize))
            return PictureSupply::NotFound;
        return PictureSupply::Present;
    }
    return PictureSupply::NotFound;
}

std::string ShutterFrameName(int16_t objectNumber, int frame) {
    const char digits[] = {static_cast<char>('0' + frame / 10 % 10),
                           static_cast<char>('0' + frame % 10), '\0'};
    return GetSpecialObjCode(objectNumber) + std::string(15, '_') + digits + ".BMP";
}

}  // namespace quarvelt
