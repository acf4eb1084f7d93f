#include "platform/os/code_page.h"

#include <windows.h>

#include <climits>
#include <new>

namespace tap::os {

// The system's ANSI code page, whatever it is set to. The UTF-8 half of
// code_page.h is portable and lives in utf8_text.cpp.

std::u16string ansi_to_wide(std::string_view bytes) {
  if (bytes.empty()) return {};
  if (bytes.size() > INT_MAX) throw std::bad_alloc();
  const int n = static_cast<int>(bytes.size());
  // A single-byte code page gives one character a byte; a double-byte one
  // never more, so this is enough for either.
  std::u16string out(bytes.size(), u'\0');
  int written = MultiByteToWideChar(CP_ACP, 0, bytes.data(), n, reinterpret_cast<wchar_t*>(out.data()), n);
  out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return out;
}

std::string wide_to_ansi(std::u16string_view text) {
  if (text.empty()) return {};
  if (text.size() > INT_MAX / 2) throw std::bad_alloc();
  const int n = static_cast<int>(text.size());
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  // No best-fit: a character the code page lacks becomes '?' instead of
  // a look-alike ("A" for "Ā"), so a comparison never matches by accident.
  int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, n, nullptr, 0, "?", nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, n, out.data(), size, "?", nullptr);
  out.resize(size > 0 ? static_cast<std::size_t>(size) : 0);
  return out;
}

}  // namespace tap::os
