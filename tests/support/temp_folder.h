// A fresh folder under the system's temporary folder, removed with its contents.
#pragma once

#include <string>

namespace testsupport {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, with a trailing '/'.
    const std::string& Path() const { return path_; }
    // Writes a file below the folder (creating folders on the way) and returns its path.
    std::string Write(const std::string& relative, const std::string& bytes) const;
    std::string Read(const std::string& relative) const;

  private:
    std::string path_;
};

}  // namespace testsupport
