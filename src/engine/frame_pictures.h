// The frame pictures of a compile: made present in the image folder, taken
// from the archives only when missing, and the look-ups a compile makes.
#pragma once

#include <cstdint>
#include <string>

namespace quarvelt {

// "ERROR: THE INDEX FILE IS EMPTY!" and its explanation.
extern const std::string EmptyIndexText;
// "ERROR: IMAGE WASN'T FOUND IN INDEX FILE!" naming the frame.
std::string FrameNotFoundText(const std::string& frameName);

// True when the picture `frameName` is in ImagePath, extracting it from the
// first bitmap record of that name when it is missing. Otherwise false with the
// message to show: an empty index, no such record, or the failed extraction.
// A picture found once is not looked for again until StartCompileLookups().
bool MakeFramePresent(const std::string& frameName, std::string& errorText);

// Called at the start of every compile: the image folder and the index may
// have changed since the last one.
void StartCompileLookups();

// The look-ups of one photon step. By default they answer from the index in
// memory, and a situation met again within a compile from what it answered the
// first time. Only the benchmark replaces them, with scans of the index file,
// to measure what that saves.
struct PictureLookups {
    std::string (*findObjectImage)(const std::string& code, const std::string& colour,
                                   const std::string& size, const std::string& travel);
    int16_t (*getLastFrameNumber)(const std::string& name);
};
PictureLookups& CompileLookups();

}  // namespace quarvelt
