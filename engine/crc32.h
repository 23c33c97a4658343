// CRC-32 (the IEEE polynomial of zip and PNG) of decoded payload bytes: the
// packer records it beside the container, extraction checks it.
#pragma once

#include <cstddef>
#include <cstdint>

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc = 0);
