/* The per-process shared-memory region through which the host names the
 * playback file and describes the resource being opened. The host creates
 * and fills it before the first open; the driver opens it and keeps the
 * next-stream index in it. All integers little-endian. */
#ifndef TAPLAYBACK_REGION_H
#define TAPLAYBACK_REGION_H

/* The Windows object name is this prefix followed by the process id in
 * decimal; the POSIX object drops "Local\" and starts with "/". */
#define TAP_REGION_NAME_PREFIX "Local\\_Tarvena_Lantorix_Process_Shm_"

#define TAP_REGION_SIZE 2104
#define TAP_REGION_NEXT_STREAM_OFFSET 8
#define TAP_REGION_PATH_OFFSET 1040
#define TAP_REGION_PATH_SIZE 1024
#define TAP_REGION_INTERFACE_OFFSET 2064
#define TAP_REGION_INTERFACE_SIZE 20
#define TAP_REGION_CLASS_OFFSET 2084
#define TAP_REGION_CLASS_SIZE 20

#endif /* TAPLAYBACK_REGION_H */
