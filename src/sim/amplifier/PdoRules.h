#pragma once
#include "sim/amplifier/ObjectDictionary.h"

// What the PDO write rules need of the amplifier's state.
struct PdoState {
    bool operational = false;  // NMT operational: no PDO object changes
    bool suspended = false;    // PDO operation switched off by the maker's switch
};

// CiA 301 rules for writes to PDO objects; 0 or the abort code of the refusal.
// A mapping (count or entries) may only change while its PDO is not valid (COB-ID
// bit 31 set) or PDO operation is suspended. Mapping entries (sub-indices 1..8) may
// only be written while the count (sub 0) is 0; a count is only accepted when every
// entry it enables names a fixed-size object of the dictionary with its exact bit
// length and all fit in 64 bits. A valid COB-ID (bit 31 clear) can not be changed to
// another valid one. The reserved transmission types are refused. Nothing is changed
// while the node is operational.
uint32_t checkPdoWrite(const ObjectDictionary& dictionary, ObjectKey key, const QByteArray& data, PdoState state);

// The mapping entry value of an object: index << 16 | sub << 8 | bit length.
uint32_t mappingEntry(const ObjectEntry& mapped);
