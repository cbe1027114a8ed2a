// Sends what a log-off, an installer's Restart Manager or a closing tool
// sends to every top-level window of a running program, so that a check
// under Wine can watch the program end:
//   session-end-sender close|logoff|restart-manager|cancelled EXE-NAME
// close: WM_CLOSE. logoff: WM_QUERYENDSESSION, then WM_ENDSESSION (TRUE).
// restart-manager: the same with ENDSESSION_CLOSEAPP. cancelled: the
// Restart Manager's query, then WM_ENDSESSION (FALSE), as when another
// program refused. Status 0 when windows were found and every query was
// answered TRUE, 1 when the program has no window, 2 on bad arguments, 3
// when a query was refused.
#include <windows.h>
// windows.h first: tlhelp32.h builds on its types.
#include <tlhelp32.h>

#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

std::set<DWORD> processesNamed(const wchar_t* name) {
    std::set<DWORD> ids;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, name) == 0) ids.insert(entry.th32ProcessID);
    }
    CloseHandle(snapshot);
    return ids;
}

struct Search {
    std::set<DWORD> processes;
    std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (search->processes.count(process) != 0) search->windows.push_back(window);
    return TRUE;
}

// The system waits about five seconds for each answer before it counts a
// window as hung.
constexpr UINT kAnswerMs = 5000;

LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs,
                             &answer)) {
        return -1;
    }
    return static_cast<LRESULT>(answer);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const std::wstring mode = argv[1];
    LPARAM reason = 0;
    if (mode == L"restart-manager" || mode == L"cancelled")
        reason = ENDSESSION_CLOSEAPP;
    else if (mode != L"logoff" && mode != L"close")
        return 2;

    Search search{processesNamed(argv[2]), {}};
    EnumWindows(&collect, reinterpret_cast<LPARAM>(&search));
    if (search.windows.empty()) {
        std::wprintf(L"no top-level window of %ls\n", argv[2]);
        return 1;
    }
    if (mode == L"close") {
        for (HWND window : search.windows) PostMessageW(window, WM_CLOSE, 0, 0);
        std::wprintf(L"WM_CLOSE to %zu windows\n", search.windows.size());
        return 0;
    }
    bool agreed = true;
    for (HWND window : search.windows) {
        if (send(window, WM_QUERYENDSESSION, 0, reason) != TRUE) agreed = false;
    }
    // The ending goes ahead only when every window agreed, as the system
    // does; "cancelled" tells them it does not.
    const WPARAM ending = agreed && mode != L"cancelled" ? TRUE : FALSE;
    for (HWND window : search.windows) send(window, WM_ENDSESSION, ending, reason);
    std::wprintf(L"%ls to %zu windows, queries %ls\n", mode.c_str(), search.windows.size(),
                 agreed ? L"agreed" : L"refused");
    return agreed ? 0 : 3;
}
