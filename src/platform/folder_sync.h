// Makes the names in a folder survive a power cut: a rename or a new file is
// on the disk only once its folder is flushed, and a set replaced in several
// steps relies on the order in which they reach it.
#pragma once

#include <string>

#include "platform/errors.h"

namespace platform {

// Flushes the folder's entries (after ResolveCase). A file system that cannot
// flush a folder counts as done.
RuntimeError SyncFolder(const std::string& folder);

}  // namespace platform
