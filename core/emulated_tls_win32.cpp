// Thread-local variables (`thread_local`, and the runtime's own per-thread exception state) on
// the system's fiber-local storage. MinGW's GCC keeps such variables through "emulated TLS":
// each is an object that __emutls_get_address turns into the calling thread's copy. The
// runtime's implementation of that function stands on MinGW's POSIX thread emulation, which
// brings a thread library's worth of code (some 25 KB) into the program; this one asks the
// system for one storage slot and keeps every thread's copies in an array there.
//
// The layout of the variable objects is the compiler's (libgcc's emutls.c): size, alignment,
// the index given on first use (0: none yet), and the initial value (nullptr: all zero). A
// thread's array holds its length in element 0; its copies are freed when the thread ends.

#include <windows.h>

#include <malloc.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

struct EmulatedTlsObject {
  std::size_t size;
  std::size_t align;
  std::uintptr_t index;  // 1-based, given under gLock on first use
  const void* initial;
};

SRWLOCK gLock = SRWLOCK_INIT;
DWORD gSlot = FLS_OUT_OF_INDEXES;
std::uintptr_t gLastIndex = 0;

void WINAPI FreeThreadCopies(void* data) {
  void** copies = static_cast<void**>(data);
  if (!copies) return;
  const auto length = reinterpret_cast<std::uintptr_t>(copies[0]);
  for (std::uintptr_t i = 1; i <= length; ++i) _aligned_free(copies[i]);
  std::free(copies);
}

std::uintptr_t IndexOf(EmulatedTlsObject* object) {
  std::uintptr_t index = __atomic_load_n(&object->index, __ATOMIC_ACQUIRE);
  if (index) return index;
  AcquireSRWLockExclusive(&gLock);
  if (gSlot == FLS_OUT_OF_INDEXES) gSlot = FlsAlloc(FreeThreadCopies);
  index = object->index;
  if (!index) {
    index = ++gLastIndex;
    __atomic_store_n(&object->index, index, __ATOMIC_RELEASE);
  }
  ReleaseSRWLockExclusive(&gLock);
  if (gSlot == FLS_OUT_OF_INDEXES) std::abort();  // no slot: nothing thread-local can work
  return index;
}

// The calling thread's array, long enough for `index`.
void** CopiesFor(std::uintptr_t index) {
  void** copies = static_cast<void**>(FlsGetValue(gSlot));
  const std::uintptr_t length = copies ? reinterpret_cast<std::uintptr_t>(copies[0]) : 0;
  if (index <= length) return copies;
  std::uintptr_t wanted = length * 2 > index + 8 ? length * 2 : index + 8;
  auto* grown = static_cast<void**>(std::calloc(wanted + 1, sizeof(void*)));
  if (!grown) std::abort();
  if (copies) {
    std::memcpy(grown + 1, copies + 1, length * sizeof(void*));
    std::free(copies);
  }
  grown[0] = reinterpret_cast<void*>(wanted);
  FlsSetValue(gSlot, grown);
  return grown;
}

}  // namespace

extern "C" void* __emutls_get_address(EmulatedTlsObject* object) {
  const std::uintptr_t index = IndexOf(object);
  void** copies = CopiesFor(index);
  if (!copies[index]) {
    const std::size_t align = object->align > sizeof(void*) ? object->align : sizeof(void*);
    void* copy = _aligned_malloc(object->size ? object->size : 1, align);
    if (!copy) std::abort();
    if (object->initial) {
      std::memcpy(copy, object->initial, object->size);
    } else {
      std::memset(copy, 0, object->size);
    }
    copies[index] = copy;
  }
  return copies[index];
}
