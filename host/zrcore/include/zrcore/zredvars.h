#pragma once
// System variables.

// Result codes of editor calls.
#define ZR_RTNORM 5100
#define ZR_RTERROR (-5001)
// Value types of a result buffer.
#define ZR_RTREAL 5001
#define ZR_RTSHORT 5003

struct resbuf {
    resbuf* rbnext = nullptr;
    short restype = 0;
    union {
        double rreal;
        short rint;
    } resval{};
};

// Reads a system variable by name (any case) into result. ZR_RTNORM on
// success, ZR_RTERROR for an unknown name, a null result or no running host.
//
// CMDACTIVE (short) holds bits of what the host is doing: 0x01 a command
// runs, 0x02 a transparent command runs, 0x20 a file open or import action
// runs. MEASUREINIT (short): 0 imperial, 1 metric new drawings.
int zredGetVar(const wchar_t* name, resbuf* result);
