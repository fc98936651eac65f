#include "support/pictures.h"

#include <cstdint>
#include <cstring>

#include <vector>

namespace {

// The icon formats' version for CreateIconFromResourceEx.
constexpr DWORD kIconFormatVersion = 0x00030000;
constexpr int kScreenDpi = 96;
// Alpha below it is see-through in the AND mask too, as in the icon files.
constexpr BYTE kMaskThreshold = 128;

#pragma pack(push, 2)
struct GroupHeader {
  WORD reserved, type, count;
};
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

struct Stored {
  int size = 0;  // 0: none
  int bits = 0;
  WORD resource = 0;
};

// True when a beats b as the image to draw pixels from: the exact size, else
// the smallest larger one, else the largest; more colours at equal sizes.
bool Better(const Stored& a, const Stored& b, int pixels) {
  if (b.size == 0) return true;
  if (a.size == b.size) return a.bits > b.bits;
  bool aCovers = a.size >= pixels, bCovers = b.size >= pixels;
  if (aCovers != bCovers) return aCovers;
  return aCovers ? a.size < b.size : a.size > b.size;
}

// A resource's bytes, or null; *bytes is their count.
const BYTE* ResourceBytes(HINSTANCE instance, LPCSTR name, LPCSTR type, DWORD* bytes) {
  HRSRC found = FindResourceA(instance, name, type);
  if (!found) return nullptr;
  *bytes = SizeofResource(instance, found);
  HGLOBAL loaded = LoadResource(instance, found);
  return loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
}

Stored ChooseStored(HINSTANCE instance, int id, int pixels) {
  Stored best;
  DWORD bytes = 0;
  const BYTE* data = ResourceBytes(instance, MAKEINTRESOURCEA(id), RT_GROUP_ICON, &bytes);
  if (!data || bytes < sizeof(GroupHeader)) return best;
  GroupHeader header;
  memcpy(&header, data, sizeof header);
  for (DWORD i = 0; i < header.count; ++i) {
    DWORD at = sizeof header + i * sizeof(GroupEntry);
    if (at + sizeof(GroupEntry) > bytes) break;
    GroupEntry entry;
    memcpy(&entry, data + at, sizeof entry);
    if (entry.width != entry.height) continue;
    Stored candidate;
    candidate.size = entry.width ? entry.width : 256;
    candidate.bits = entry.bitCount;
    candidate.resource = entry.id;
    if (Better(candidate, best, pixels)) best = candidate;
  }
  return best;
}

// The source's pixels that fall on each destination pixel along one axis,
// with their weights: source pixel s spans [s * to, (s + 1) * to) and
// destination pixel d spans [d * from, (d + 1) * from), so the weights of
// each d add up to from.
struct Span {
  int first, last;
};
Span Covered(int d, int from, int to) { return {d * from / to, ((d + 1) * from - 1) / to}; }
int Weight(int s, int d, int from, int to) {
  int low = s * to > d * from ? s * to : d * from;
  int high = (s + 1) * to < (d + 1) * from ? (s + 1) * to : (d + 1) * from;
  return high > low ? high - low : 0;
}

// A 32-bit image with alpha, reduced from size to pixels: each pixel the
// average of the area it covers, its colour weighted by alpha so that clear
// pixels darken no edge. Rows stay bottom-up (the averaging is the same
// either way). Returns the icon made from it, or null.
HICON Reduced(const BYTE* source, int size, int pixels) {
  int maskStride = ((pixels + 31) / 32) * 4;
  DWORD colourBytes = static_cast<DWORD>(pixels) * pixels * 4;
  std::vector<BYTE> image(sizeof(BITMAPINFOHEADER) + colourBytes + static_cast<size_t>(maskStride) * pixels);
  BITMAPINFOHEADER header = {};
  header.biSize = sizeof header;
  header.biWidth = pixels;
  header.biHeight = 2 * pixels;  // colour and mask
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  header.biSizeImage = colourBytes;
  memcpy(image.data(), &header, sizeof header);
  BYTE* colour = image.data() + sizeof header;
  BYTE* mask = colour + colourBytes;

  for (int y = 0; y < pixels; ++y) {
    Span rows = Covered(y, size, pixels);
    for (int x = 0; x < pixels; ++x) {
      Span columns = Covered(x, size, pixels);
      uint64_t alpha = 0, sum[3] = {};
      for (int sy = rows.first; sy <= rows.last; ++sy) {
        int wy = Weight(sy, y, size, pixels);
        const BYTE* row = source + static_cast<size_t>(sy) * size * 4;
        for (int sx = columns.first; sx <= columns.last; ++sx) {
          const BYTE* p = row + sx * 4;
          uint64_t w = static_cast<uint64_t>(wy) * Weight(sx, x, size, pixels) * p[3];
          alpha += w;
          for (int c = 0; c < 3; ++c) sum[c] += w * p[c];
        }
      }
      BYTE* out = colour + (static_cast<size_t>(y) * pixels + x) * 4;
      uint64_t area = static_cast<uint64_t>(size) * size;
      out[3] = static_cast<BYTE>((alpha + area / 2) / area);
      if (out[3] < kMaskThreshold) mask[y * maskStride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
      if (out[3] == 0) continue;  // clear: colour 0, as in the icon files
      for (int c = 0; c < 3; ++c) out[c] = static_cast<BYTE>((sum[c] + alpha / 2) / alpha);
    }
  }
  return CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, kIconFormatVersion, pixels,
                                  pixels, LR_DEFAULTCOLOR);
}

// The stored image reduced to pixels, when it is a 32-bit image with alpha
// (as every picture of this program is); null for any other kind, which
// the system then scales.
HICON ReducedFromStored(HINSTANCE instance, const Stored& stored, int pixels) {
  DWORD bytes = 0;
  const BYTE* data = ResourceBytes(instance, MAKEINTRESOURCEA(stored.resource), RT_ICON, &bytes);
  if (!data || bytes < sizeof(BITMAPINFOHEADER)) return nullptr;
  BITMAPINFOHEADER header;
  memcpy(&header, data, sizeof header);
  int size = stored.size;
  DWORD colourBytes = static_cast<DWORD>(size) * size * 4;
  if (header.biSize != sizeof header || header.biWidth != size || header.biHeight != 2 * size ||
      header.biBitCount != 32 || header.biCompression != BI_RGB || bytes - sizeof header < colourBytes)
    return nullptr;
  const BYTE* colour = data + sizeof header;
  bool anyAlpha = false;
  for (DWORD i = 3; i < colourBytes && !anyAlpha; i += 4) anyAlpha = colour[i] != 0;
  if (!anyAlpha) return nullptr;
  return Reduced(colour, size, pixels);
}

// The system's own loading: LoadIconWithScaleDown where common controls 6
// has it (Vista and later), else LoadImage.
HICON LoadBySystem(HINSTANCE instance, int id, int pixels) {
  using ScaleDownLoader = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
  HMODULE controls = GetModuleHandleA("comctl32.dll");
  FARPROC entry = controls ? GetProcAddress(controls, "LoadIconWithScaleDown") : nullptr;
  if (entry) {
    // Through void (*)(), the one function type that converts to any.
    auto load = reinterpret_cast<ScaleDownLoader>(reinterpret_cast<void (*)()>(entry));
    HICON icon = nullptr;
    if (SUCCEEDED(load(instance, MAKEINTRESOURCEW(id), pixels, pixels, &icon)) && icon) return icon;
  }
  return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR));
}

}  // namespace

int PictureSizeForDpi(int pixelsAt96, int dpi) { return MulDiv(pixelsAt96, dpi > 0 ? dpi : kScreenDpi, kScreenDpi); }

int PictureSourceSize(HINSTANCE instance, int id, int pixels) { return ChooseStored(instance, id, pixels).size; }

HICON LoadPicture(HINSTANCE instance, int id, int pixels) {
  if (pixels <= 0) return nullptr;
  Stored stored = ChooseStored(instance, id, pixels);
  if (stored.size == 0) return nullptr;
  // A size not stored is reduced here rather than by the system: LoadImage
  // may take a smaller stored size and stretch it, and under Wine so does
  // LoadIconWithScaleDown, which is LoadImage there.
  if (stored.size > pixels) {
    HICON reduced = ReducedFromStored(instance, stored, pixels);
    if (reduced) return reduced;
  }
  return LoadBySystem(instance, id, pixels);
}
