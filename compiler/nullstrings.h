#pragma once
// String routines that accept NULL.

// 0 for the same pointer (both NULL included), -1 when only a is NULL, 1 when
// only b is NULL, else the byte comparison of the texts.
int strcmpnull(const char* a, const char* b);

// 0 for NULL, else the length of the text.
unsigned strlennull(const char* s);
