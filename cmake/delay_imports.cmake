# Delay-loaded system DLLs: a program linked with vm_delay_imports(target dll...) loads each of
# those DLLs at the first call into it instead of at its start, so that what only a later action
# needs (the common dialogs, sound, the shell, COM) does not hold up the first window.
# The delay-load import libraries are made from the toolchain's own import libraries, so every
# function they export is covered; the C runtime's __delayLoadHelper2 resolves the calls.
# Only for functions without floating-point parameters: dlltool's 64-bit helper keeps the
# integer argument registers across the first call of a function but not XMM0-3. The program
# takes only strings and variants from OLE automation; its check fails when a date or number
# conversion of it is called (those must not be delay-loaded).

set(VM_DELAY_IMPORT_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/make_delay_import_library.cmake)

function(vm_delay_imports target)
  if(NOT CMAKE_DLLTOOL OR NOT CMAKE_NM)
    message(FATAL_ERROR "delay-loaded imports need dlltool and nm of the toolchain")
  endif()
  foreach(dll IN LISTS ARGN)
    find_library(VM_IMPORT_LIBRARY_${dll} NAMES lib${dll}.a ${dll} REQUIRED)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/delay/lib${dll}_delay.a)
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
              -DIMPORT_LIBRARY=${VM_IMPORT_LIBRARY_${dll}} -DDLL=${dll}.dll
              -DPROCESSOR=${CMAKE_SYSTEM_PROCESSOR} -DOUTPUT=${out} -P ${VM_DELAY_IMPORT_SCRIPT}
      DEPENDS ${VM_IMPORT_LIBRARY_${dll}} ${VM_DELAY_IMPORT_SCRIPT}
      COMMENT "Delay-load import library for ${dll}.dll"
      VERBATIM)
    add_custom_target(${target}_delay_${dll} DEPENDS ${out})
    add_dependencies(${target} ${target}_delay_${dll})
    # Named after the program's own libraries, so the linker takes these symbols before the
    # ordinary import library that comes later on the command line.
    target_link_libraries(${target} PRIVATE ${out})
  endforeach()
  if(CMAKE_OBJDUMP)
    add_test(NAME ${target}_delay_imports
      COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DPROGRAM=$<TARGET_FILE:${target}>
              "-DDELAYED=${ARGN}" -P ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/check_delay_imports.cmake)
  endif()
endfunction()
