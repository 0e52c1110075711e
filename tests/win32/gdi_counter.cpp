#include "gdi_counter_state.h"

#include <windows.h>

#include <algorithm>

namespace {

std::vector<Acquired> &LiveList()
{
    static std::vector<Acquired> live;
    return live;
}

std::vector<Acquired> &HistoryList()
{
    static std::vector<Acquired> history;
    return history;
}

template <typename H>
H Acquire(H handle, Acquired::Kind kind)
{
    if (handle != NULL) {
        Acquired a = {kind, reinterpret_cast<void *>(handle)};
        LiveList().push_back(a);
        HistoryList().push_back(a);
    }
    return handle;
}

void Release(void *handle)
{
    auto &live = LiveList();
    auto it = std::find_if(live.begin(), live.end(),
                           [handle](const Acquired &a) { return a.handle == handle; });
    if (it != live.end())
        live.erase(it);
}

}  // namespace

void ResetAcquired()
{
    LiveList().clear();
    HistoryList().clear();
}

std::vector<Acquired> LiveAcquired()
{
    return LiveList();
}

std::vector<Acquired> AllAcquired()
{
    return HistoryList();
}

bool StillExists(const Acquired &a)
{
    switch (a.kind) {
    case Acquired::kBitmap:
    case Acquired::kMemoryDC:
        return GetObjectType(static_cast<HGDIOBJ>(a.handle)) != 0;
    case Acquired::kWindowDC:
        // A released window context goes back to the system's cache and its
        // handle stays valid; only the count can tell it was given back.
        return false;
    case Acquired::kMenu:
        return IsMenu(static_cast<HMENU>(a.handle)) != FALSE;
    }
    return false;
}

// The real calls: this file is built without the forced header.
HBITMAP CountedLoadBitmapA(HINSTANCE instance, LPCSTR name)
{
    return Acquire(LoadBitmapA(instance, name), Acquired::kBitmap);
}

HDC CountedCreateCompatibleDC(HDC dc)
{
    return Acquire(CreateCompatibleDC(dc), Acquired::kMemoryDC);
}

BOOL CountedDeleteDC(HDC dc)
{
    Release(dc);
    return DeleteDC(dc);
}

BOOL CountedDeleteObject(HGDIOBJ object)
{
    Release(object);
    return DeleteObject(object);
}

HDC CountedGetDC(HWND window)
{
    return Acquire(GetDC(window), Acquired::kWindowDC);
}

int CountedReleaseDC(HWND window, HDC dc)
{
    Release(dc);
    return ReleaseDC(window, dc);
}

HMENU CountedLoadMenuA(HINSTANCE instance, LPCSTR name)
{
    return Acquire(LoadMenuA(instance, name), Acquired::kMenu);
}

BOOL CountedDestroyMenu(HMENU menu)
{
    Release(menu);
    return DestroyMenu(menu);
}

static bool g_failThreadCreation = false;

void FailThreadCreation(bool fail)
{
    g_failThreadCreation = fail;
}

HANDLE FallibleCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack,
                            LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags, LPDWORD id)
{
    if (g_failThreadCreation) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return NULL;
    }
    return CreateThread(security, stack, start, parameter, flags, id);
}
