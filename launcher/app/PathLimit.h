#pragma once
// The longest path the launcher takes, in UTF-16 units: as long as Windows itself allows
// ("\\?\" paths and long-path aware programs), far beyond MAX_PATH. A path that does not fit
// is refused whole, never cut to a path that names something else.
#include <cstddef>

namespace lhl {

constexpr size_t kMaxPathChars = 32767;

} // namespace lhl
