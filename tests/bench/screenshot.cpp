#include "bench/screenshot.h"

#include <cstdio>

namespace bench {

namespace {

std::string ScreenshotFolder() {
  char folder[MAX_PATH] = "";
  if (GetEnvironmentVariableA("WENDLE_SCREENSHOTS", folder, sizeof folder) && folder[0]) return folder;
  GetModuleFileNameA(nullptr, folder, sizeof folder);
  std::string path = folder;
  return path.substr(0, path.find_last_of('\\') + 1) + "screenshots";
}

}  // namespace

void SaveScreenshot(HWND window, const std::string& name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT rect;
  GetWindowRect(window, &rect);
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return;

  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files keep rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP picture = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, picture);
  // The window's own pixels, frame and controls included (the platform's
  // PrintWindow leaves the controls out, and the screen may lag behind).
  HDC windowDc = GetWindowDC(window);
  BitBlt(memory, 0, 0, width, height, windowDc, 0, 0, SRCCOPY);
  ReleaseDC(window, windowDc);
  GdiFlush();

  DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageBytes;
  header.biSizeImage = imageBytes;

  std::string folder = ScreenshotFolder();
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string path = folder + "\\" + name + ".bmp";
  if (FILE* out = fopen(path.c_str(), "wb")) {
    fwrite(&file, sizeof file, 1, out);
    fwrite(&header, sizeof header, 1, out);
    fwrite(bits, 1, imageBytes, out);
    fclose(out);
  }
  SelectObject(memory, old);
  DeleteObject(picture);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

}  // namespace bench
