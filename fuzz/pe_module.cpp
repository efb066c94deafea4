// Fuzzes the PE resource reader: open from bytes, walk every resource, look some up and read all of it.
#include <cstddef>
#include <cstdint>

#include "platform/cursor_resource.h"
#include "platform/module.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto module = platform::Module::FromMemory(data, size, "fuzz");
  uint32_t sum = 0;
  for (const platform::ResourceEntry& e : module->Entries()) {
    const platform::ResName name = e.nameIsId ? platform::ResName(e.nameId) : platform::ResName(e.name);
    const platform::ResName type = e.typeIsId ? platform::ResName(e.typeId) : platform::ResName(e.typeName);
    platform::HRSRC r = platform::FindResource(module.get(), name, type);
    const auto* bytes = static_cast<const uint8_t*>(platform::LockResource(platform::LoadResource(module.get(), r)));
    const uint32_t n = platform::SizeofResource(module.get(), r);
    for (uint32_t i = 0; bytes != nullptr && i < n; ++i) sum += bytes[i];  // every byte must be readable
    if (e.typeIsId && e.typeId == platform::RT_CURSOR) {
      platform::CursorBitmap cursor;
      platform::DecodeCursorResource(bytes, n, &cursor);
    }
  }
  // The lookups the game makes.
  platform::FindResource(module.get(), 151, "SPRITEMAP");
  platform::FindResource(module.get(), 150, platform::RT_BITMAP);
  platform::CursorBitmap cursor;
  platform::ReadCursorResource(module.get(), 104, &cursor);
  return static_cast<int>(sum & 0);
}
