/*
 * Handles, GDI objects, device contexts and held locks in small scoped
 * wrappers: each releases what it holds when it goes, on every path, so no
 * code of Wendle releases one by hand.
 */
#ifndef WENDLE_SCOPED_WIN_H
#define WENDLE_SCOPED_WIN_H

#include <windows.h>

#include <utility>

// A kernel handle (file, thread, event...) closed with CloseHandle. An
// invalid file handle and null both stand for none.
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return valid(); }
  void reset(HANDLE handle = nullptr) {
    if (valid()) CloseHandle(handle_);
    handle_ = handle;
  }
  HANDLE release() { return std::exchange(handle_, nullptr); }

 private:
  HANDLE handle_ = nullptr;
};

// A kernel event owned for the life of its owner; auto-reset unless asked.
class SignalEvent {
 public:
  explicit SignalEvent(bool manualReset = false)
      : event_(CreateEventA(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr)) {}
  SignalEvent(const SignalEvent&) = delete;
  SignalEvent& operator=(const SignalEvent&) = delete;
  HANDLE handle() const { return event_.get(); }
  void Raise() const { SetEvent(event_.get()); }
  void Lower() const { ResetEvent(event_.get()); }

 private:
  ScopedHandle event_;
};

// A GDI object (pen, brush, font, bitmap) deleted with DeleteObject.
template <typename T>
class ScopedGdiObject {
 public:
  ScopedGdiObject() = default;
  explicit ScopedGdiObject(T object) : object_(object) {}
  ~ScopedGdiObject() { reset(); }
  ScopedGdiObject(ScopedGdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
    if (this != &other) reset(std::exchange(other.object_, nullptr));
    return *this;
  }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;

  T get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }
  void reset(T object = nullptr) {
    if (object_) DeleteObject(object_);
    object_ = object;
  }

 private:
  T object_ = nullptr;
};
using ScopedPen = ScopedGdiObject<HPEN>;
using ScopedBrush = ScopedGdiObject<HBRUSH>;
using ScopedFont = ScopedGdiObject<HFONT>;
using ScopedBitmap = ScopedGdiObject<HBITMAP>;

// An icon destroyed with DestroyIcon.
class ScopedIcon {
 public:
  ScopedIcon() = default;
  explicit ScopedIcon(HICON icon) : icon_(icon) {}
  ~ScopedIcon() { reset(); }
  ScopedIcon(const ScopedIcon&) = delete;
  ScopedIcon& operator=(const ScopedIcon&) = delete;
  HICON get() const { return icon_; }
  void reset(HICON icon = nullptr) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }

 private:
  HICON icon_ = nullptr;
};

// A window's device context, from GetDC to ReleaseDC.
class ScopedWindowDC {
 public:
  explicit ScopedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// The whole window's device context, frame included, from GetWindowDC to
// ReleaseDC: what draws on a minimized window's icon.
class ScopedWindowSurface {
 public:
  explicit ScopedWindowSurface(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
  ~ScopedWindowSurface() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ScopedWindowSurface(const ScopedWindowSurface&) = delete;
  ScopedWindowSurface& operator=(const ScopedWindowSurface&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory device context, from CreateCompatibleDC to DeleteDC.
class ScopedMemoryDC {
 public:
  explicit ScopedMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~ScopedMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  ScopedMemoryDC(const ScopedMemoryDC&) = delete;
  ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_;
};

// An object selected into a device context, the one it replaced selected
// back when this goes.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (old_) SelectObject(dc_, old_);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's painting, from BeginPaint to EndPaint.
class ScopedPaint {
 public:
  explicit ScopedPaint(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~ScopedPaint() { EndPaint(window_, &paint_); }
  ScopedPaint(const ScopedPaint&) = delete;
  ScopedPaint& operator=(const ScopedPaint&) = delete;
  HDC dc() const { return dc_; }
  const PAINTSTRUCT& paint() const { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_ = nullptr;
};

// A menu loaded for its owner's life, destroyed with DestroyMenu.
class ScopedMenu {
 public:
  ScopedMenu() = default;
  explicit ScopedMenu(HMENU menu) : menu_(menu) {}
  ~ScopedMenu() { reset(); }
  ScopedMenu(const ScopedMenu&) = delete;
  ScopedMenu& operator=(const ScopedMenu&) = delete;
  HMENU get() const { return menu_; }
  void reset(HMENU menu = nullptr) {
    if (menu_) DestroyMenu(menu_);
    menu_ = menu;
  }

 private:
  HMENU menu_ = nullptr;
};

// A registry key, closed with RegCloseKey.
class ScopedRegKey {
 public:
  ScopedRegKey() = default;
  ~ScopedRegKey() {
    if (key_) RegCloseKey(key_);
  }
  ScopedRegKey(const ScopedRegKey&) = delete;
  ScopedRegKey& operator=(const ScopedRegKey&) = delete;
  HKEY get() const { return key_; }
  HKEY* out() { return &key_; }

 private:
  HKEY key_ = nullptr;
};

// A file search, ended with FindClose.
class ScopedFindHandle {
 public:
  explicit ScopedFindHandle(HANDLE search) : search_(search) {}
  ~ScopedFindHandle() {
    if (search_ != INVALID_HANDLE_VALUE) FindClose(search_);
  }
  ScopedFindHandle(const ScopedFindHandle&) = delete;
  ScopedFindHandle& operator=(const ScopedFindHandle&) = delete;

 private:
  HANDLE search_;
};

// A loaded library, freed with FreeLibrary.
class ScopedLibrary {
 public:
  explicit ScopedLibrary(HMODULE module = nullptr) : module_(module) {}
  ~ScopedLibrary() { reset(); }
  ScopedLibrary(const ScopedLibrary&) = delete;
  ScopedLibrary& operator=(const ScopedLibrary&) = delete;
  HMODULE get() const { return module_; }
  explicit operator bool() const { return module_ != nullptr; }
  void reset(HMODULE module = nullptr) {
    if (module_) FreeLibrary(module_);
    module_ = module;
  }
  HMODULE release() { return std::exchange(module_, nullptr); }

 private:
  HMODULE module_;
};

// A global memory block, freed with GlobalFree unless released (to the
// clipboard, which then owns it).
class ScopedGlobal {
 public:
  explicit ScopedGlobal(HGLOBAL block = nullptr) : block_(block) {}
  ~ScopedGlobal() {
    if (block_) GlobalFree(block_);
  }
  ScopedGlobal(const ScopedGlobal&) = delete;
  ScopedGlobal& operator=(const ScopedGlobal&) = delete;
  HGLOBAL get() const { return block_; }
  explicit operator bool() const { return block_ != nullptr; }
  HGLOBAL release() { return std::exchange(block_, nullptr); }

 private:
  HGLOBAL block_;
};

// The clipboard, open for as long as the object lives.
class ScopedClipboard {
 public:
  explicit ScopedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~ScopedClipboard() {
    if (open_) CloseClipboard();
  }
  ScopedClipboard(const ScopedClipboard&) = delete;
  ScopedClipboard& operator=(const ScopedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

#endif
