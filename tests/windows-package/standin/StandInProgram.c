/* A stand-in for talvane.exe while the Windows program is not built: it
 * acts out what the installer checks rely on. Like the real program it
 * reads setting.ini beside itself and makes a client number only when the
 * key is there and empty; it puts an icon into the notification area and
 * stays until it is ended. */
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>
#include <wchar.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE previous, PWSTR command, int show) {
    (void)previous, (void)command, (void)show;
    wchar_t ini[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, ini, MAX_PATH);
    while (length > 0 && ini[length - 1] != L'\\') --length;
    wcscpy(ini + length, L"setting.ini");

    wchar_t number[500];
    GetPrivateProfileStringW(L"systemsetting", L"sysNumber", L"unknown value", number, 500, ini);
    if (number[0] == 0) {
        SYSTEMTIME t;
        GetLocalTime(&t);
        swprintf(number, 500, L"%05u%04u%02u%02u%02u%02u%02u%05u", GetTickCount() % 30000 + 1,
                 t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond,
                 GetCurrentProcessId() % 30000 + 1);
        WritePrivateProfileStringW(L"systemsetting", L"sysNumber", number, ini);
    }

    HWND window = CreateWindowW(L"STATIC", L"talvane", 0, 0, 0, 0, 0, NULL, NULL, instance, NULL);
    NOTIFYICONDATAW icon = {.cbSize = sizeof icon, .hWnd = window, .uID = 1,
                            .uFlags = NIF_ICON | NIF_TIP, .hIcon = LoadIconW(NULL, IDI_APPLICATION)};
    wcscpy(icon.szTip, L"Talvane");
    Shell_NotifyIconW(NIM_ADD, &icon);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) DispatchMessageW(&message);
    Shell_NotifyIconW(NIM_DELETE, &icon);
    return 0;
}
