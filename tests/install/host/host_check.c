/* The smallest host: loads the installed driver, calls its entry export
 * and opens a session. Written in C, since the headers promise C. */
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>

#include <taplayback/region.h>
#include <taplayback/varnel.h>

#ifndef TAP_DRIVER
#define TAP_DRIVER ""
#endif

static int fail(const char* what) {
  fprintf(stderr, "host_check: %s\n", what);
  return 1;
}

int main(int argc, char** argv) {
  const char* path = argc > 1 ? argv[1] : TAP_DRIVER;
  void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  if (!library) return fail(dlerror());

  /* dlsym gives an object pointer; copy it into the function pointer. */
  void* symbol = dlsym(library, VARNEL_ENTRY_EXPORT);
  if (!symbol) return fail("no entry export");
  VarnelGetEntryFn get_entry;
  memcpy(&get_entry, &symbol, sizeof get_entry);

  unsigned char driver[VARNEL_DRIVER_RECORD_MIN_SIZE] = {0};
  unsigned char info[VARNEL_INFO_RECORD_MIN_SIZE] = {0};
  if (get_entry(driver, info) != VARNEL_OK) return fail("the entry export failed");
  if (memcmp(info + VARNEL_INFO_NAME_OFFSET, VARNEL_DRIVER_NAME, strlen(VARNEL_DRIVER_NAME)) != 0)
    return fail("wrong driver name");

  VarnelOpenFn open_session;
  memcpy(&open_session, driver + VARNEL_DRIVER_SLOTS_OFFSET + VARNEL_SLOT_OPEN * sizeof(void*),
         sizeof open_session);
  if (!open_session) return fail("empty open slot");
  /* This process made no region, so the driver finds no playback file. */
  VarnelSession session = 0;
  int status = open_session("GPIB0::1::INSTR", 1, 0xFFFFFFFFu, 0, "", "", 0, &session);
  if (status != VARNEL_NO_PLAYBACK_FILE) {
    fprintf(stderr, "host_check: open returned %d, expected %d\n", status, VARNEL_NO_PLAYBACK_FILE);
    return 1;
  }
  printf("host_check: %s loaded, region size %d, open without a region: %d\n", path,
         TAP_REGION_SIZE, status);
  dlclose(library);
  return 0;
}
