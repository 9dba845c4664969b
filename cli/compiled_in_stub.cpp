#include "compiled_in_stub.h"

#include "archive_format.h"
#include "stub_resource.h"

#ifndef _WIN32
extern const unsigned char zarvane_installer_stub[];
extern const std::size_t zarvane_installer_stub_size;
#endif

namespace zarvane {

void RegisterCompiledInStub() {
#ifndef _WIN32
  RegisterStubResource(kStubResourceId, zarvane_installer_stub, zarvane_installer_stub_size);
#endif
}

}  // namespace zarvane
