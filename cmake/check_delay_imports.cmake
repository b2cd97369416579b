# cmake -DOBJDUMP= -DPROGRAM= -DDELAYED="a;b" -P check_delay_imports.cmake
# Fails when one of the delay-loaded DLLs is an ordinary import of the program again (a new call
# resolved through the ordinary import library), or is not named in the program at all.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} failed on ${PROGRAM}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" imported "${dump}")
string(TOLOWER "${imported}" imported)
file(STRINGS ${PROGRAM} named REGEX "^[A-Za-z0-9_]+\\.dll$")
string(TOLOWER "${named}" named)
set(failed FALSE)
foreach(dll IN LISTS DELAYED)
  string(TOLOWER "${dll}.dll" name)
  set(entry "dll name: ${name}")
  if(entry IN_LIST imported)
    message(SEND_ERROR "${name} is loaded at the start: it is an ordinary import again")
    set(failed TRUE)
  endif()
  # The delay-load descriptor names the DLL.
  if(NOT name IN_LIST named)
    message(SEND_ERROR "${dll}.dll is named nowhere in the program: not delay-loaded either")
    set(failed TRUE)
  endif()
endforeach()
# OLE automation's conversions take their numbers and dates in XMM registers, which the delay
# helper does not keep across the first call.
if("oleaut32" IN_LIST DELAYED)
  file(STRINGS ${PROGRAM} conversions
       REGEX "^(Var[A-Za-z0-9]*(R4|R8|Date|Cy|Dec)[A-Za-z0-9]*|VariantTimeTo[A-Za-z]+|VarNumFromParseNum)$")
  if(conversions)
    message(SEND_ERROR "oleaut32.dll is delay-loaded, but the program calls ${conversions}")
    set(failed TRUE)
  endif()
endif()
if(NOT failed)
  message(STATUS "ordinary imports: ${imported}")
endif()
