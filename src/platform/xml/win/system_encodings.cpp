#include "platform/xml/system_encodings.h"

#include <windows.h>

#include <libxml/encoding.h>

namespace tap::xml {

namespace {

// Bytes of single-byte code page `CodePage` to UTF-8, as many as fit; a
// single-byte code page never leaves a character half read.
template <UINT CodePage>
int to_utf8(unsigned char* out, int* outlen, const unsigned char* in, int* inlen) {
  int consumed = 0;
  int produced = 0;
  while (consumed < *inlen && produced + 3 <= *outlen) {
    wchar_t wide = 0;
    if (MultiByteToWideChar(CodePage, 0, reinterpret_cast<const char*>(in + consumed), 1, &wide, 1) != 1) {
      *inlen = consumed;
      *outlen = produced;
      return -2;
    }
    int n = WideCharToMultiByte(CP_UTF8, 0, &wide, 1, reinterpret_cast<char*>(out + produced), 3, nullptr, nullptr);
    if (n <= 0) {
      *inlen = consumed;
      *outlen = produced;
      return -2;
    }
    produced += n;
    ++consumed;
  }
  *inlen = consumed;
  *outlen = produced;
  return produced;
}

template <UINT CodePage>
void add(const char* name, const char* other_name) {
  // Documents are only read, never written: no output direction.
  xmlNewCharEncodingHandler(name, to_utf8<CodePage>, nullptr);
  xmlAddEncodingAlias(name, other_name);
}

}  // namespace

// Without iconv libxml2 reads UTF-8, UTF-16, Latin-1 and ISO-8859-x only;
// the Windows code pages that documents declare come from the system.
void register_system_encodings() {
  add<1250>("windows-1250", "cp1250");
  add<1251>("windows-1251", "cp1251");
  add<1252>("windows-1252", "cp1252");
  add<1253>("windows-1253", "cp1253");
  add<1254>("windows-1254", "cp1254");
  add<1255>("windows-1255", "cp1255");
  add<1256>("windows-1256", "cp1256");
  add<1257>("windows-1257", "cp1257");
  add<1258>("windows-1258", "cp1258");
}

}  // namespace tap::xml
