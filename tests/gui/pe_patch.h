// Edits of an executable's raw-data resources in place, for the copies of
// SETUP.exe the tests start. (Wine's UpdateResource cannot remove or
// replace a resource, so the resource directory is walked here instead.)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Renames the RT_RCDATA resource `name` to `newName` (same length, and the
// same place in the directory's sorted order), so that `name` is missing.
// Throws std::runtime_error when the image or the resource is not found.
void RenameRcData(std::vector<std::uint8_t>& image, const std::wstring& name, const std::wstring& newName);

// Puts `data` (no longer than the resource) in place of the RT_RCDATA
// resource's bytes and makes its size that of `data`.
void ReplaceRcData(std::vector<std::uint8_t>& image, const std::wstring& name, const std::vector<std::uint8_t>& data);
