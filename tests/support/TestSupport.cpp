#include "TestSupport.h"
#include "ComInit.h"
#include "File.h"
#include "LanternhopApp.h"
#include "Module.h"
#include "ShellFolder.h"
#include <shlobj.h>
#include <wincodec.h>
#include <cstdio>
#include <cstring>

namespace lhltest {

std::wstring BinFolder() { return fw::ModuleFolder(); }

std::wstring DataFolder() { return fw::ShellFolderPath(CSIDL_APPDATA) + L"LHLauncher\\"; }

bool FileExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
    std::vector<uint8_t> bytes;
    fw::CFile::ReadAll(path, bytes, 16 * 1024 * 1024);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
    fw::CFile file;
    ASSERT_TRUE(file.Open(path, fw::CFile::modeCreate | fw::CFile::modeWrite)) << "cannot write the test file";
    ASSERT_TRUE(file.Write(bytes.data(), bytes.size()));
}

void EmptyFolder(const std::wstring& folder) {
    const std::wstring base = fw::WithTrailingBackslash(folder);
    WIN32_FIND_DATAW entry{};
    HANDLE find = ::FindFirstFileW((base + L"*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = base + name;
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveFolder(path);
        else ::DeleteFileW(path.c_str());
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
}

void RemoveFolder(const std::wstring& folder) {
    EmptyFolder(folder);
    ::RemoveDirectoryW(folder.c_str());
}

void DeleteLauncherRegistryKey() {
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuenvidWorks\\Lanternhop");
}

bool LauncherRegistryKeyExists() {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, lhl::kRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    ::RegCloseKey(key);
    return true;
}

namespace {

int g_refused = 0;

// Said once at the end, and only when nothing failed: CTest then shows the program as skipped
// rather than passed. A failure of an unguarded test is never hidden behind it.
class RefusalReport : public ::testing::Environment {
public:
    void TearDown() override {
        if (g_refused > 0 && ::testing::UnitTest::GetInstance()->failed_test_count() == 0)
            std::printf("\nTests refused to run outside a throwaway prefix: %d\n", g_refused);
    }
};

[[maybe_unused]] ::testing::Environment* const kRefusalReport = ::testing::AddGlobalTestEnvironment(new RefusalReport);

// A skip recorded while the fixture is constructed stops the whole test before its set-up.
void Refuse() {
    ++g_refused;
    GTEST_SKIP() << "Not run: this test changes the launcher's data, the desktop, the registry or the input of "
                    "whoever runs it. scripts/test runs it in a throwaway Wine prefix; on a disposable Windows "
                    "machine, C:\\lanternhop-disposable-machine naming the computer lets it run (see the README).";
}

} // namespace

ThrowawayPrefixOnly::ThrowawayPrefixOnly() {
    if (InThrowawayPrefix()) return;
    m_removeDataFolders = !FolderExists(DataFolder());
    Refuse();
}

ThrowawayPrefixOnly::~ThrowawayPrefixOnly() {
    if (!m_removeDataFolders) return;
    // Only empty folders go: nothing that holds a file is touched.
    for (const wchar_t* sub : {L"Shortcut", L"DesktopBackup", L""}) ::RemoveDirectoryW((DataFolder() + sub).c_str());
}

void CleanLauncherState::SetUp() {
    DeleteLauncherRegistryKey();
    EmptyFolder(DataFolder());
}

void CleanLauncherState::TearDown() {
    DeleteLauncherRegistryKey();
    EmptyFolder(DataFolder());
}

void WriteGradientBitmap(const std::wstring& path, int width, int height) {
    const int rowBytes = (width * 3 + 3) & ~3;
    std::vector<uint8_t> pixels(static_cast<size_t>(rowBytes) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &pixels[static_cast<size_t>(y) * rowBytes + x * 3];
            p[0] = static_cast<uint8_t>(x * 255 / width); // blue grows to the right
            p[1] = static_cast<uint8_t>(y * 255 / height); // green grows downwards (bottom-up rows)
            p[2] = 0x40;
        }
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(pixels.size());
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + pixels.size());
    std::vector<uint8_t> bytes(file.bfSize);
    memcpy(bytes.data(), &file, sizeof(file));
    memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
    memcpy(bytes.data() + file.bfOffBits, pixels.data(), pixels.size());
    WriteBytes(path, bytes);
}

namespace {
std::wstring Extended(const std::wstring& path) { return L"\\\\?\\" + path; }
} // namespace

LongPathFile::LongPathFile(const std::wstring& folder, size_t minLength) {
    const std::wstring name = L"long named file.txt";
    std::wstring path = fw::WithTrailingBackslash(folder);
    for (wchar_t letter = L'a'; path.size() + name.size() < minLength; ++letter) {
        path += L"long folder " + std::wstring(48, letter);
        ::CreateDirectoryW(Extended(path).c_str(), nullptr);
        m_folders.push_back(path);
        path += L'\\';
    }
    m_path = path + name;
    HANDLE file = ::CreateFileW(Extended(m_path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE) << "the long-path file could not be made";
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
}

LongPathFile::~LongPathFile() {
    ::DeleteFileW(Extended(m_path).c_str());
    for (auto folder = m_folders.rbegin(); folder != m_folders.rend(); ++folder)
        ::RemoveDirectoryW(Extended(*folder).c_str());
}

} // namespace lhltest

namespace lhltest {

bool WritePicture(const std::wstring& path, const GUID& container, COLORREF colour, bool transparent) {
    constexpr UINT kSide = 8;
    const UINT bytesPerPixel = transparent ? 4 : 3;
    std::vector<BYTE> pixels(kSide * kSide * bytesPerPixel, 0);
    for (size_t i = 0; !transparent && i < pixels.size(); i += 3) {
        pixels[i] = GetBValue(colour);
        pixels[i + 1] = GetGValue(colour);
        pixels[i + 2] = GetRValue(colour);
    }
    const WICPixelFormatGUID wanted = transparent ? GUID_WICPixelFormat32bppBGRA : GUID_WICPixelFormat24bppBGR;
    WICPixelFormatGUID format = wanted;
    fw::ComScope com;
    fw::ComPtr<IWICImagingFactory> factory;
    fw::ComPtr<IWICStream> stream;
    fw::ComPtr<IWICBitmapEncoder> encoder;
    fw::ComPtr<IWICBitmapFrameEncode> frame;
    return SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                        factory.PutVoid())) &&
           SUCCEEDED(factory->CreateStream(stream.Put())) &&
           SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
           SUCCEEDED(factory->CreateEncoder(container, nullptr, encoder.Put())) &&
           SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
           SUCCEEDED(encoder->CreateNewFrame(frame.Put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
           SUCCEEDED(frame->SetSize(kSide, kSide)) && SUCCEEDED(frame->SetPixelFormat(&format)) && format == wanted &&
           SUCCEEDED(frame->WritePixels(kSide, kSide * bytesPerPixel, static_cast<UINT>(pixels.size()), pixels.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

const std::vector<uint8_t> kRedGif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0,
                                      0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};

bool MakeShortcut(const std::wstring& path, const std::wstring& target) {
    fw::ComScope com;
    fw::ComPtr<IShellLinkW> link;
    fw::ComPtr<IPersistFile> file;
    return SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid())) &&
           SUCCEEDED(link->SetPath(target.c_str())) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.PutVoid())) && SUCCEEDED(file->Save(path.c_str(), TRUE));
}

int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

} // namespace lhltest

namespace lhltest {

// Saved beside its place first, then moved there through the "\\?\" form: saving a shortcut
// takes no path of MAX_PATH characters or more.
std::wstring MakeShortcutToRecorder(const std::wstring& path, const wchar_t* arguments) {
    const std::wstring made = DataFolder() + L"made for the test.lnk";
    EXPECT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    IShellLinkW* link = nullptr;
    HRESULT hr = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link));
    if (SUCCEEDED(hr)) {
        link->SetPath((BinFolder() + L"lhl_record_run.exe").c_str());
        link->SetArguments(arguments);
        IPersistFile* file = nullptr;
        hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(hr)) {
            hr = file->Save(made.c_str(), TRUE);
            file->Release();
        }
        link->Release();
    }
    ::CoUninitialize();
    EXPECT_TRUE(SUCCEEDED(hr)) << "the test could not make its shortcut";
    EXPECT_TRUE(::MoveFileExW(made.c_str(), Extended(path).c_str(), MOVEFILE_REPLACE_EXISTING)) << "the shortcut could not go to its place";
    return path;
}

std::wstring RecordedRunOf(const std::function<void()>& open, DWORD timeoutMs) {
    const std::wstring marker = BinFolder() + L"ran.txt";
    ::DeleteFileW(marker.c_str());
    open();
    std::vector<uint8_t> bytes;
    PumpUntil([&] { return FileExists(marker) && !(bytes = ReadBytes(marker)).empty(); }, timeoutMs);
    ::DeleteFileW(marker.c_str());
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

} // namespace lhltest
