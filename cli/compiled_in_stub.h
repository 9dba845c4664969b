#pragma once

namespace zarvane {

// Makes the installer program this tool carries findable as "SFX_EXE" 228. On Windows it is a
// resource of the executable already and this does nothing.
void RegisterCompiledInStub();

}  // namespace zarvane
