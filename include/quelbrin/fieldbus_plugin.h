/*
 * Quelbrin Assistant fieldbus plug-ins.
 *
 * A plug-in is a shared library that drives real PROFIBUS DPV1 class 2 master
 * hardware or a DeviceNet master in place of the built-in simulation. The
 * settings file names it:
 *
 *     <Configuration><Plugins>
 *         <PROFIBUS>/usr/lib/x86_64-linux-gnu/libmy-profibus.so</PROFIBUS>
 *         <DeviceNet>/opt/dnet/libdnet-quelbrin.so</DeviceNet>
 *     </Plugins></Configuration>
 *
 * The library exports quelbrin_profibus_plugin() and/or quelbrin_devicenet_plugin(),
 * each returning a table of functions that stays valid while the library is loaded.
 * The table's version must be QUELBRIN_FIELDBUS_PLUGIN_VERSION and every function
 * pointer must be set; otherwise the program refuses the plug-in, says so, and
 * uses the simulation.
 *
 * All functions are called from the program's window thread, one at a time, and
 * may block up to the time-out they are given. Every result is a signed 32-bit
 * value; negative is an error.
 *
 * PROFIBUS: "card" is the master type (2 SIEMENS, 10 Hilscher) and the card
 * number. "diag" points to QUELBRIN_DIAG_SIZE zeroed bytes where the plug-in may
 * write a diagnostic text; the program does not interpret it. The program turns
 * these error codes into texts: -8, -101 read-only, -102 access refused,
 * -16001 invalid type, -16002 driver unavailable, -16003 board not available,
 * -16004 invalid board number, -16005 driver not installed, -16006 slave has no
 * output, -16007 no communication, -16008 time-out, -16009 out of memory,
 * -16010 auto-clear error, -16011 slave not ready.
 * Multi-byte values are native numbers: the plug-in converts the bus's byte order.
 *
 * DeviceNet: transfers return the device's status, 0 or 1 for success, 4 for
 * "read-only attribute", 203 for "unknown attribute"; any other status is passed
 * on as it is. A negative result is read by its low 8 bits, except that of
 * parameter_read_arr, where any negative value is a failure. Values travel least
 * significant byte first inside a 32-bit integer.
 */
#ifndef QUELBRIN_FIELDBUS_PLUGIN_H
#define QUELBRIN_FIELDBUS_PLUGIN_H

#include <stdint.h>

#define QUELBRIN_FIELDBUS_PLUGIN_VERSION 2u
#define QUELBRIN_DIAG_SIZE 256
#define QUELBRIN_STATION_LIST_SIZE 127

#if defined(_WIN32)
#define QUELBRIN_PLUGIN_EXPORT __declspec(dllexport)
#else
#define QUELBRIN_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* PROFIBUS DPV1 class 2 master. */
typedef struct quelbrin_profibus_api {
    uint32_t version; /* QUELBRIN_FIELDBUS_PLUGIN_VERSION */

    /* Opens the card: >= 0 open. */
    int32_t (*c2_init)(int16_t type, int16_t devno, char* diag);
    /* Closes the card; the result is ignored. */
    int32_t (*c2_close)(int16_t type, int16_t devno);
    /* Live list of a Hilscher card: n > 0 = the first n bytes of the
       QUELBRIN_STATION_LIST_SIZE-byte list are the station addresses. */
    int32_t (*c2_scan)(int16_t type, int16_t devno, uint8_t* stations, char* diag);
    /* Opens (>= 0) and closes a class 2 connection to a station (1..126). */
    int32_t (*c2_connect)(int16_t type, int16_t devno, uint8_t station, char* diag);
    int32_t (*c2_disconnect)(int16_t type, int16_t devno, uint8_t station, char* diag);

    /* DPV1 read of up to *length bytes; *length and the result: bytes read. */
    int32_t (*c2_read)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                       uint8_t* buffer, int32_t* length, int32_t timeout_ms, char* diag);
    int32_t (*c2_read_int8)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                            uint8_t* value, int32_t timeout_ms, char* diag);
    int32_t (*c2_read_int16)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                             int16_t* value, int32_t timeout_ms, char* diag);
    int32_t (*c2_read_int32)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                             int32_t* value, int32_t timeout_ms, char* diag);
    int32_t (*c2_read_float)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                             float* value, int32_t timeout_ms, char* diag);

    /* DPV1 write of length bytes (0 and more; a TEDS block has 256): >= 0 written.
       Version 1 passed the length as one byte. */
    int32_t (*c2_write)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                        const uint8_t* buffer, int32_t length, int32_t timeout_ms, char* diag);
    int32_t (*c2_write_int8)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                             uint8_t value, int32_t timeout_ms, char* diag);
    int32_t (*c2_write_int16)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                              int16_t value, int32_t timeout_ms, char* diag);
    int32_t (*c2_write_int32)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                              int32_t value, int32_t timeout_ms, char* diag);
    int32_t (*c2_write_float)(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                              float value, int32_t timeout_ms, char* diag);
} quelbrin_profibus_api;

/* DeviceNet master with explicit messaging. */
typedef struct quelbrin_devicenet_api {
    uint32_t version; /* QUELBRIN_FIELDBUS_PLUGIN_VERSION */

    /* Opens the interface at a baud code (0 500 kBaud, 1 250 kBaud, 2 125 kBaud): >= 0 open. */
    int32_t (*init_hw)(int32_t baud_code);
    int32_t (*abort_hw)(void);
    /* Allocates (>= 0) and releases the connection to a device (MAC ID 0..63). */
    int32_t (*init_device)(uint8_t mac_id, int32_t flags);
    int32_t (*abort_device)(uint8_t mac_id);

    /* Reads up to 4 bytes into *value: the status. */
    int32_t (*parameter_read_int)(uint8_t mac_id, uint8_t class_id, uint8_t instance, uint8_t attribute,
                                  int32_t* value, int32_t timeout_ms);
    /* Writes the low size (1, 2 or 4) bytes of value: the status. */
    int32_t (*parameter_write_int)(uint8_t mac_id, uint8_t class_id, uint8_t instance, uint8_t attribute,
                                   int32_t size, int32_t value, int32_t timeout_ms);
    /* Reads up to *length bytes; negative = failure, else *length holds the bytes read. */
    int32_t (*parameter_read_arr)(uint8_t mac_id, uint8_t class_id, uint8_t instance, uint8_t attribute,
                                  uint8_t* buffer, int32_t* length, int32_t timeout_ms);
    /* Writes length bytes: the status. */
    int32_t (*parameter_write_arr)(uint8_t mac_id, uint8_t class_id, uint8_t instance, uint8_t attribute,
                                   const uint8_t* buffer, int32_t length, int32_t timeout_ms);
} quelbrin_devicenet_api;

/* The entry functions a plug-in exports (one or both). */
#define QUELBRIN_PROFIBUS_PLUGIN_ENTRY "quelbrin_profibus_plugin"
#define QUELBRIN_DEVICENET_PLUGIN_ENTRY "quelbrin_devicenet_plugin"
typedef const quelbrin_profibus_api* (*quelbrin_profibus_plugin_fn)(void);
typedef const quelbrin_devicenet_api* (*quelbrin_devicenet_plugin_fn)(void);

QUELBRIN_PLUGIN_EXPORT const quelbrin_profibus_api* quelbrin_profibus_plugin(void);
QUELBRIN_PLUGIN_EXPORT const quelbrin_devicenet_api* quelbrin_devicenet_plugin(void);

#ifdef __cplusplus
}
#endif

#endif /* QUELBRIN_FIELDBUS_PLUGIN_H */
