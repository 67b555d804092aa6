#pragma once
// The test producer module's own export, beside the four stream reader names.
#include <cstddef>
#include <cstdint>

extern "C" void TestProducer_SetImage(const uint32_t* addresses, const uint8_t* data, size_t count);
