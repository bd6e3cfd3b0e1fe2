/* A PROFIBUS plug-in for the tests: one Hilscher card (number 0) and two stations,
   5 and 9, whose records are kept in memory. Station 5 slot 0 index 1 starts with the
   value 0x51E0B1A5; every other record exists once written. */
#include <quelbrin/fieldbus_plugin.h>

#include <string.h>

#define RECORDS 32
#define RECORD_SIZE 256
#define TIMEOUT (-16008)
#define INVALID_BOARD (-16004)
#define UNKNOWN_RECORD (-102)

struct record {
    int used;
    uint8_t station, slot, index;
    int32_t length;
    uint8_t data[RECORD_SIZE];
};

static struct record records[RECORDS] = {{1, 5, 0, 1, 4, {0xA5, 0xB1, 0xE0, 0x51}}};
static const uint8_t stations[] = {9, 5};

static void note(char* diag, const char* text)
{
    strncpy(diag, text, QUELBRIN_DIAG_SIZE - 1);
}

static int known_card(int16_t type, int16_t devno)
{
    return type == 10 && devno == 0;
}

static int known_station(uint8_t station)
{
    return station == stations[0] || station == stations[1];
}

static struct record* find(uint8_t station, uint8_t slot, uint8_t index, int create)
{
    struct record* free_record = NULL;
    for (int i = 0; i < RECORDS; ++i) {
        struct record* r = &records[i];
        if (r->used && r->station == station && r->slot == slot && r->index == index)
            return r;
        if (!r->used && !free_record)
            free_record = r;
    }
    if (!create || !free_record)
        return NULL;
    free_record->used = 1;
    free_record->station = station;
    free_record->slot = slot;
    free_record->index = index;
    free_record->length = 0;
    return free_record;
}

static int32_t c2_init(int16_t type, int16_t devno, char* diag)
{
    if (!known_card(type, devno))
        return INVALID_BOARD;
    note(diag, "test plug-in: card open");
    return 0;
}

static int32_t c2_close(int16_t type, int16_t devno)
{
    return known_card(type, devno) ? 0 : INVALID_BOARD;
}

static int32_t c2_scan(int16_t type, int16_t devno, uint8_t* list, char* diag)
{
    (void)diag;
    if (!known_card(type, devno))
        return INVALID_BOARD;
    memcpy(list, stations, sizeof stations);
    return (int32_t)sizeof stations;
}

static int32_t c2_connect(int16_t type, int16_t devno, uint8_t station, char* diag)
{
    (void)diag;
    if (!known_card(type, devno))
        return INVALID_BOARD;
    return known_station(station) ? 0 : TIMEOUT;
}

static int32_t c2_disconnect(int16_t type, int16_t devno, uint8_t station, char* diag)
{
    (void)station;
    (void)diag;
    return known_card(type, devno) ? 0 : INVALID_BOARD;
}

static int32_t read_record(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                           void* buffer, int32_t size)
{
    if (!known_card(type, devno))
        return INVALID_BOARD;
    if (!known_station(station))
        return TIMEOUT;
    const struct record* r = find(station, slot, index, 0);
    if (!r)
        return UNKNOWN_RECORD;
    const int32_t length = r->length < size ? r->length : size;
    memset(buffer, 0, (size_t)size);
    memcpy(buffer, r->data, (size_t)length);
    return length;
}

static int32_t write_record(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                            const void* buffer, int32_t length)
{
    if (!known_card(type, devno))
        return INVALID_BOARD;
    if (!known_station(station))
        return TIMEOUT;
    struct record* r = find(station, slot, index, 1);
    if (!r || length > RECORD_SIZE)
        return UNKNOWN_RECORD;
    memcpy(r->data, buffer, (size_t)length);
    r->length = length;
    return 0;
}

static int32_t c2_read(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index, uint8_t* buffer,
                       int32_t* length, int32_t timeout_ms, char* diag)
{
    (void)timeout_ms;
    (void)diag;
    const int32_t result = read_record(type, devno, station, slot, index, buffer, *length);
    if (result >= 0)
        *length = result;
    return result;
}

#define TYPED(name, type)                                                                                      \
    static int32_t c2_read_##name(int16_t t, int16_t d, uint8_t st, uint8_t sl, uint8_t ix, type* value,         \
                                  int32_t timeout_ms, char* diag)                                                \
    {                                                                                                            \
        (void)timeout_ms;                                                                                        \
        (void)diag;                                                                                              \
        const int32_t result = read_record(t, d, st, sl, ix, value, (int32_t)sizeof(type));                      \
        return result < 0 ? result : 0;                                                                          \
    }                                                                                                            \
    static int32_t c2_write_##name(int16_t t, int16_t d, uint8_t st, uint8_t sl, uint8_t ix, type value,         \
                                   int32_t timeout_ms, char* diag)                                               \
    {                                                                                                            \
        (void)timeout_ms;                                                                                        \
        (void)diag;                                                                                              \
        return write_record(t, d, st, sl, ix, &value, (int32_t)sizeof(type));                                   \
    }

TYPED(int8, uint8_t)
TYPED(int16, int16_t)
TYPED(int32, int32_t)
TYPED(float, float)

static int32_t c2_write(int16_t type, int16_t devno, uint8_t station, uint8_t slot, uint8_t index,
                        const uint8_t* buffer, int32_t length, int32_t timeout_ms, char* diag)
{
    (void)timeout_ms;
    (void)diag;
    return write_record(type, devno, station, slot, index, buffer, length);
}

static const quelbrin_profibus_api api = {
    QUELBRIN_FIELDBUS_PLUGIN_VERSION,
    c2_init,
    c2_close,
    c2_scan,
    c2_connect,
    c2_disconnect,
    c2_read,
    c2_read_int8,
    c2_read_int16,
    c2_read_int32,
    c2_read_float,
    c2_write,
    c2_write_int8,
    c2_write_int16,
    c2_write_int32,
    c2_write_float,
};

QUELBRIN_PLUGIN_EXPORT const quelbrin_profibus_api* quelbrin_profibus_plugin(void)
{
    return &api;
}
