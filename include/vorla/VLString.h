// VLString: conversion between the system's multibyte code page (Shift_JIS) and UTF-8.
#ifndef VORLA_VLSTRING_H
#define VORLA_VLSTRING_H

#include "vorla/vorla.h"

class VORLA_API VLString {
public:
    VLString();
    ~VLString();

    // Both convert a NUL-terminated text into target, terminator included, and return 1; or
    // return 0 and leave target unusable when the text is malformed, has no form in the other
    // code page, or does not fit in targetSize bytes.
    int ConvSJIS_UTF8(const char *source, char *target, int targetSize);
    int ConvUTF8_SJIS(const char *source, char *target, int targetSize);
};

#endif
