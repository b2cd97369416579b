# cmake -DNM= -DDLLTOOL= -DIMPORT_LIBRARY= -DDLL= -DPROCESSOR= -DOUTPUT= -P make_delay_import_library.cmake
# Lists the functions of an import library and makes a delay-load import library of them.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${NM} ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} failed on ${IMPORT_LIBRARY}")
endif()
string(REGEX MATCHALL " I __imp_[^\r\n]+" entries "${symbols}")
set(names)
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^ I __imp_" "" name "${entry}")
  # 32-bit names carry the C underscore (and stdcall's @n, which dlltool -k keeps off the
  # imported name).
  if(PROCESSOR STREQUAL "i686")
    string(REGEX REPLACE "^_" "" name "${name}")
  endif()
  # Interface identifiers the DLL also exports as data (oleacc's IID_IAccessible) are no
  # functions; the program takes them from libuuid.
  if(name MATCHES "^(IID|LIBID|CLSID)_")
    continue()
  endif()
  list(APPEND names "${name}")
endforeach()
list(REMOVE_DUPLICATES names)
list(LENGTH names count)
if(count EQUAL 0)
  message(FATAL_ERROR "no functions found in ${IMPORT_LIBRARY}")
endif()
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
string(REPLACE ";" "\n" lines "${names}")
set(def ${OUTPUT}.def)
file(WRITE ${def} "LIBRARY ${DLL}\nEXPORTS\n${lines}\n")
set(kill)
if(PROCESSOR STREQUAL "i686")
  set(kill -k)
endif()
# Run in the output folder: dlltool names the library's helper symbols after the path it is given.
get_filename_component(library ${OUTPUT} NAME)
execute_process(COMMAND ${DLLTOOL} ${kill} --input-def ${def} --dllname ${DLL} --output-delaylib ${library}
                WORKING_DIRECTORY ${folder} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${DLLTOOL} failed for ${DLL}")
endif()
