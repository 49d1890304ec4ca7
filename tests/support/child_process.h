// Runs a piece of a test in a forked child: for what must not happen to the
// test process itself (a lowered memory limit, a dropped privilege).
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace testsupport {

// The text `body` returned in the child, or nothing when the child did not
// end by returning (a crash, an abort, running out of memory). With
// `asNobody` the child first becomes the user "nobody", or answers
// "cannot become nobody".
std::optional<std::string> RunInChild(const std::function<std::string()>& body,
                                      bool asNobody = false);

}  // namespace testsupport
