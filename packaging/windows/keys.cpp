// vardel-keys: plays a user at the keyboard of a running Vardel, for the Windows end-to-end
// test (e2e.sh). Keys go through SendInput to the foreground window, text as Unicode
// characters (KEYEVENTF_UNICODE), so that Persian arrives whatever the keyboard layout.
//   vardel-keys add ENTRY.txt   Ctrl+N in the main window, then in the add-name window the
//                               name (line 1 of the UTF-8 file), Tab, the meaning (line 2),
//                               Enter, and Esc to close it again
//   vardel-keys exit            Ctrl+X in the main window
// Exits with 0 when every step was carried out, 1 with the failed step on stderr.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kTimeout = 60000; // ms; only a hang ever waits this long

bool fail(const char* what)
{
    std::fprintf(stderr, "vardel-keys: %s\n", what);
    return false;
}

// Waits until `done` holds, checking every 50 ms.
template <typename Condition> bool waitFor(Condition done)
{
    const ULONGLONG end = GetTickCount64() + kTimeout;
    while (!done()) {
        if (GetTickCount64() > end)
            return false;
        Sleep(50);
    }
    return true;
}

void send(std::vector<INPUT> inputs)
{
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    // Gives the program the time a typist would.
    Sleep(30);
}

INPUT key(WORD virtualKey, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void press(WORD virtualKey)
{
    send({key(virtualKey, false), key(virtualKey, true)});
}

void pressWithControl(WORD virtualKey)
{
    send({key(VK_CONTROL, false), key(virtualKey, false), key(virtualKey, true),
          key(VK_CONTROL, true)});
}

void type(const std::wstring& text)
{
    for (const wchar_t unit : text) {
        INPUT down = {};
        down.type = INPUT_KEYBOARD;
        down.ki.wScan = static_cast<WORD>(unit);
        down.ki.dwFlags = KEYEVENTF_UNICODE;
        INPUT up = down;
        up.ki.dwFlags |= KEYEVENTF_KEYUP;
        send({down, up});
    }
}

HWND mainWindow()
{
    HWND window = nullptr;
    waitFor([&] {
        window = FindWindowW(nullptr, L"Vardel");
        return window && IsWindowVisible(window);
    });
    return window;
}

bool bringToFront(HWND window)
{
    return waitFor([&] {
        if (GetForegroundWindow() != window)
            SetForegroundWindow(window);
        return GetForegroundWindow() == window;
    });
}

// A visible top-level window of `owner`'s process other than `owner` itself.
HWND otherWindowOf(HWND owner)
{
    struct Search
    {
        HWND owner;
        DWORD process;
        HWND found;
    } search = {owner, 0, nullptr};
    GetWindowThreadProcessId(owner, &search.process);
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<Search*>(parameter);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (window != search->owner && process == search->process && IsWindowVisible(window)) {
                search->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The first two lines of a UTF-8 file.
bool readEntry(const char* path, std::wstring& name, std::wstring& meaning)
{
    FILE* file = std::fopen(path, "rb");
    if (!file)
        return false;
    std::string bytes;
    char chunk[4096];
    for (size_t read; (read = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, read);
    std::fclose(file);
    const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), nullptr, 0);
    if (length <= 0)
        return false;
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(),
                        length);
    const size_t end = text.find(L'\n');
    if (end == std::wstring::npos)
        return false;
    name = text.substr(0, end);
    meaning = text.substr(end + 1);
    while (!meaning.empty() && (meaning.back() == L'\n' || meaning.back() == L'\r'))
        meaning.pop_back();
    return !name.empty() && !meaning.empty();
}

bool addName(const char* entryFile)
{
    std::wstring name;
    std::wstring meaning;
    if (!readEntry(entryFile, name, meaning))
        return fail("the entry file does not hold a name and a meaning line");
    const HWND main = mainWindow();
    if (!main)
        return fail("no window titled Vardel");
    if (!bringToFront(main))
        return fail("the Vardel window does not come to the front");
    pressWithControl('N');
    HWND dialog = nullptr;
    if (!waitFor([&] { return (dialog = otherWindowOf(main)) != nullptr; }))
        return fail("Ctrl+N opened no window");
    if (!bringToFront(dialog))
        return fail("the add-name window does not come to the front");
    // The name box has the focus; its keyboard switch runs before the first character.
    Sleep(500);
    type(name);
    press(VK_TAB);
    type(meaning);
    press(VK_RETURN);
    Sleep(1000);
    press(VK_ESCAPE);
    if (!waitFor([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }))
        return fail("Esc did not close the add-name window");
    return true;
}

bool exitProgram()
{
    const HWND main = mainWindow();
    if (!main)
        return fail("no window titled Vardel");
    // Right after the add-name window closes, a key may be lost: Wine can report the main
    // window in front before Qt has made it active, and the name box, taking the focus back,
    // sends its own Shift+Alt to switch the layout. Press again while the window stays.
    for (int press = 1; press <= 5; ++press) {
        if (!bringToFront(main))
            return IsWindow(main) ? fail("the Vardel window does not come to the front") : true;
        pressWithControl('X');
        const ULONGLONG end = GetTickCount64() + 5000;
        while (IsWindow(main) && GetTickCount64() < end)
            Sleep(50);
        if (!IsWindow(main)) {
            if (press > 1)
                std::fprintf(stderr, "vardel-keys: Ctrl+X took %d presses\n", press);
            return true;
        }
    }
    return fail("the Vardel window stayed after five presses of Ctrl+X");
}

} // namespace

int main(int argc, char* argv[])
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "add" && argc == 3)
        return addName(argv[2]) ? 0 : 1;
    if (command == "exit" && argc == 2)
        return exitProgram() ? 0 : 1;
    std::fprintf(stderr, "usage: vardel-keys add ENTRY.txt | vardel-keys exit\n");
    return 2;
}
