#pragma once
// Whether this process runs in the throwaway Wine prefix that scripts/test and scripts/bench
// make afresh for a run. Kept apart from the test support so that the benchmark, which is no
// test, can ask it too.

namespace lhltest {

// True only inside that prefix (the scripts leave a mark on its drive C:). Anywhere else, on
// Windows or in someone's own Wine setup, the data folder, the registry and the desktop are a
// real user's.
bool InThrowawayPrefix();

} // namespace lhltest
