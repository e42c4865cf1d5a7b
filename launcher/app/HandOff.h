#pragma once
// The hand-off file "tmp_swap.dat": how a second instance passes its command-line path to the
// running panel. It lives in the program folder; where that folder is not writable, the data
// folder holds it instead, and the reader looks in both, program folder first.
#include "Handles.h"
#include "PathLimit.h"
#include <cstdint>
#include <string>
#include <vector>

namespace lhl {

constexpr const wchar_t* kHandOffFileName = L"tmp_swap.dat";
constexpr size_t kMaxHandOffChars = kMaxPathChars;
constexpr uint32_t kHandOffEndWord = 0xFFFF;

// u32 length in UTF-16 units, the text, and the end word 0xFFFF.
std::vector<uint8_t> EncodeHandOff(const std::wstring& text);
// The text, whole, or empty: a text longer than a path can be, or one that the file does not
// hold in full, is refused rather than cut to a path that names something else.
std::wstring DecodeHandOff(const std::vector<uint8_t>& bytes);

class HandOffFile {
public:
    HandOffFile(std::wstring programFolder, std::wstring dataFolder)
        : m_programFolder(std::move(programFolder)), m_dataFolder(std::move(dataFolder)) {}

    // Removes any file left from an earlier start, in both places.
    void Delete() const;
    // Writes the text to the program folder, or to the data folder when that fails; false, and
    // nothing written, for a text longer than a path can be.
    bool Write(const std::wstring& text) const;
    // Reads the waiting text (empty when none) and removes the files.
    std::wstring Take() const;

    std::wstring ProgramFolderPath() const { return m_programFolder + kHandOffFileName; }
    std::wstring DataFolderPath() const { return m_dataFolder + kHandOffFileName; }

private:
    std::wstring m_programFolder;
    std::wstring m_dataFolder;
};

// Held while an instance deletes, writes and hands over the file: instances started together
// take turns, so none removes or overwrites a path that the running panel has not read yet.
class HandOffTurn {
public:
    HandOffTurn();
    ~HandOffTurn();
    HandOffTurn(const HandOffTurn&) = delete;
    HandOffTurn& operator=(const HandOffTurn&) = delete;

private:
    fw::UniqueKernelHandle m_mutex;
    bool m_bOwned = false;
};

} // namespace lhl
