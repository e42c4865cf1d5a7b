#pragma once
// Whether this process may change the machine it runs on: the launcher's data, the registry,
// the desktop, system-wide input hooks and synthesised keys and clicks. Kept apart from the test
// support so that the benchmark, which is no test, can ask it too.
#include <string>

namespace lhltest {

// What the answer rests on, gathered apart so that the rule itself can be checked anywhere.
struct MachineFacts {
    bool wine = false;
    bool winePrefixMark = false;   // the file scripts/test and scripts/bench leave on drive C:
    bool disposableMark = false;   // the file a run on a disposable Windows machine leaves
    std::wstring disposableText;   // that file's first line
    std::wstring computerName;
};

// A fresh Wine prefix made for the run, or a Windows machine whose disposable mark names this
// very computer (a mark copied to another machine along with the tests counts for nothing).
bool MayChangeThisMachine(const MachineFacts& facts);

// True only there. Anywhere else, on someone's own Windows or in their own Wine setup, the data
// folder, the registry, the desktop and the input belong to a real user.
bool InThrowawayPrefix();

} // namespace lhltest
