// Inside the operating-system seam only: the errors the test aid can make a file operation
// fail with, and the system's own wording of each (in the system's branch of the seam).
#pragma once

#include <string>

namespace tv::env {

enum class FaultKind { kDiskFull, kPermission, kSharing };

std::string FaultReason(FaultKind kind);

}  // namespace tv::env
