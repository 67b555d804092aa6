#pragma once
// What a host needs to drive an output plug-in: the types of the four stream
// reader routines it binds, and the seven functions every output plug-in
// exports (a host looks them up by name and calls them through these types).
#include <cstdint>

extern "C" {

typedef bool (*GetFirstByte_Func)(void);
typedef bool (*GetNextByte_Func)(void);
typedef uint8_t (*GetCurrentByteData_Func)(void);
typedef uint32_t (*GetCurrentByteAddress_Func)(void);

bool Set_GetFirstByte_Func(GetFirstByte_Func routine);
bool Set_GetNextByte_Func(GetNextByte_Func routine);
bool Set_GetCurrentByteData_Func(GetCurrentByteData_Func routine);
bool Set_GetCurrentByteAddress_Func(GetCurrentByteAddress_Func routine);
// module: the dynamic loader's handle of the producer (dlopen on Linux, an
// HMODULE on Windows).
bool AttachToDLL(void* module);
bool SaveAs(const char* fileName);
int GetLastErrorMsg(char* dstBuf, unsigned size);

}  // extern "C"
