#include "app/maker_addresses.h"

#ifndef VM_MAKER_WEB_PAGE
#define VM_MAKER_WEB_PAGE ""
#endif
#ifndef VM_MAKER_MAIL
#define VM_MAKER_MAIL ""
#endif

namespace vm {

MakerAddresses BuiltMakerAddresses() { return {VM_MAKER_WEB_PAGE, VM_MAKER_MAIL}; }

}  // namespace vm
