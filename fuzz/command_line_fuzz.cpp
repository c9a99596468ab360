// The command line: any text gives a run mode, in time linear in its length.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/app/run_mode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const skyfare::StartRequest request = skyfare::parseCommandLine(text);
  if (request.hostWindow < 0 ||
      (request.hostWindow != 0 && request.mode != skyfare::RunMode::ShowPreview))
    __builtin_trap();
  skyfare::endsEarly(request, size % 2 == 0, size % 3 == 0);
  return 0;
}
