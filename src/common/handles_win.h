#pragma once
// One move-only owner for every kind of Windows handle, so that no handler has to remember
// which of CloseHandle, DestroyIcon, DeleteObject or FreeLibrary goes with what.

#include <windows.h>

#include <atomic>
#include <utility>

namespace kelvane {

template <typename Handle, typename Deleter>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) { adopted(handle); }
  ~UniqueHandle() { reset(); }

  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, Handle{});
    }
    return *this;
  }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Handle{} && handle_ != Deleter::invalid(); }
  // The handle stays counted as live: whoever takes it over never tells this counter when it
  // goes, so a released handle that is never destroyed still shows up in leak tests.
  Handle release() { return std::exchange(handle_, Handle{}); }
  // The handle went by other means (a window the system destroyed with its owner): it is no
  // longer owned, and no longer counted as live.
  void disown() {
    if (isValid(std::exchange(handle_, Handle{}))) --live_;
  }
  void reset(Handle handle = Handle{}) {
    const Handle old = std::exchange(handle_, handle);
    adopted(handle);
    if (isValid(old)) {
      Deleter::free(old);
      --live_;
    }
  }

  // How many handles of this kind the program owns right now. The platform's own object counts
  // are not available everywhere (Wine answers 0), so leak tests read this one.
  static long liveCount() { return live_.load(); }
  // How many handles of this kind the program has taken ownership of since it started: tests
  // of work that must make nothing (an unchanged tick) compare it before and after.
  static long adoptedCount() { return adopted_.load(); }

 private:
  static bool isValid(Handle handle) { return handle != Handle{} && handle != Deleter::invalid(); }
  static void adopted(Handle handle) {
    if (!isValid(handle)) return;
    ++live_;
    ++adopted_;
  }

  static inline std::atomic<long> live_{0};
  static inline std::atomic<long> adopted_{0};
  Handle handle_{};
};

struct IconDeleter {
  static HICON invalid() { return nullptr; }
  static void free(HICON h) { DestroyIcon(h); }
};
struct GdiDeleter {
  static HGDIOBJ invalid() { return nullptr; }
  static void free(HGDIOBJ h) { DeleteObject(h); }
};
struct FontDeleter {
  static HFONT invalid() { return nullptr; }
  static void free(HFONT h) { DeleteObject(h); }
};
struct BitmapDeleter {
  static HBITMAP invalid() { return nullptr; }
  static void free(HBITMAP h) { DeleteObject(h); }
};
struct MemoryDcDeleter {
  static HDC invalid() { return nullptr; }
  static void free(HDC h) { DeleteDC(h); }
};
struct MenuDeleter {
  static HMENU invalid() { return nullptr; }
  static void free(HMENU h) { DestroyMenu(h); }
};
struct KernelHandleDeleter {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void free(HANDLE h) { CloseHandle(h); }
};
struct FindDeleter {
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void free(HANDLE h) { FindClose(h); }
};
struct LibraryDeleter {
  static HMODULE invalid() { return nullptr; }
  static void free(HMODULE h) { FreeLibrary(h); }
};
struct WindowDeleter {
  static HWND invalid() { return nullptr; }
  static void free(HWND h) { DestroyWindow(h); }
};

using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueFont = UniqueHandle<HFONT, FontDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, BitmapDeleter>;
using UniqueMemoryDc = UniqueHandle<HDC, MemoryDcDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueKernelHandle = UniqueHandle<HANDLE, KernelHandleDeleter>;
using UniqueFindHandle = UniqueHandle<HANDLE, FindDeleter>;
using UniqueLibrary = UniqueHandle<HMODULE, LibraryDeleter>;
using UniqueWindow = UniqueHandle<HWND, WindowDeleter>;

// A screen DC borrowed for measuring, given back on scope exit.
class ScreenDc {
 public:
  ScreenDc() : dc_(GetDC(nullptr)) { ++borrowed_; }
  ~ScreenDc() { if (dc_) ReleaseDC(nullptr, dc_); }
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  HDC get() const { return dc_; }
  // How many times the screen DC was borrowed since the program started.
  static long borrowedCount() { return borrowed_.load(); }

 private:
  HDC dc_;
  static inline std::atomic<long> borrowed_{0};
};

// Selects a GDI object into a DC for a scope and puts the previous one back.
class SelectObjectScope {
 public:
  SelectObjectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~SelectObjectScope() { SelectObject(dc_, previous_); }
  SelectObjectScope(const SelectObjectScope&) = delete;
  SelectObjectScope& operator=(const SelectObjectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace kelvane
