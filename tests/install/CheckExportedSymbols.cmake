# Installs a build into a fresh prefix and holds the dynamic symbols of the installed library against the
# installed headers: every symbol belongs to the version node VELMORA_1 and to a class or function that an
# installed header declares with PYX_API (its members, vtable and type information included), and every
# function and class so declared is exported. Anything else, such as the standard library's or spdlog's
# template code or a test seam, fails it.
#
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DNM=... -P CheckExportedSymbols.cmake

cmake_minimum_required(VERSION 3.25)

set(version_node VELMORA_1)

file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed (${result}):\n${output}")
endif()

# The library by its SONAME, as a host loads it.
file(GLOB library ${prefix}/*/libVelmora.so.1)
list(LENGTH library library_count)
if(NOT library_count EQUAL 1)
  message(FATAL_ERROR "expected one libVelmora.so.1 in ${prefix}, found: '${library}'")
endif()

# What the installed headers declare: the names of the exported classes, records and functions, and the
# namespaces they live in.
set(declared_records "")
set(declared_classes "")
set(declared_functions "")
set(namespaces "")
file(GLOB_RECURSE headers ${prefix}/include/Velmora/*.h)
foreach(header ${headers})
  file(READ ${header} text)
  string(REGEX MATCHALL "(class|struct) PYX_API [A-Za-z_][A-Za-z0-9_]*" matches "${text}")
  foreach(match ${matches})
    string(REGEX REPLACE "^(class|struct) PYX_API " "" name "${match}")
    list(APPEND declared_records ${name})
    if(match MATCHES "^class ")
      list(APPEND declared_classes ${name})
    endif()
  endforeach()
  string(REGEX MATCHALL "PYX_API [^(;{}\n]*[ *&][A-Za-z_][A-Za-z0-9_]*\\(" matches "${text}")
  foreach(match ${matches})
    string(REGEX REPLACE "^.*[ *&]([A-Za-z_][A-Za-z0-9_]*)\\($" "\\1" name "${match}")
    list(APPEND declared_functions ${name})
  endforeach()
  string(REGEX MATCHALL "namespace [A-Za-z_][A-Za-z0-9_]*" matches "${text}")
  foreach(match ${matches})
    string(REGEX REPLACE "^namespace " "" name "${match}")
    list(APPEND namespaces ${name})
  endforeach()
endforeach()
list(REMOVE_DUPLICATES declared_records)
list(REMOVE_DUPLICATES declared_functions)
list(REMOVE_DUPLICATES namespaces)
set(declared ${declared_records} ${declared_functions})
if(NOT "DiscoverUsbReaders" IN_LIST declared_functions OR NOT "Pyx_Init" IN_LIST declared_functions
   OR NOT "Reader" IN_LIST declared_classes)
  message(FATAL_ERROR "the installed headers do not declare the C interface, the classes and the flat "
                      "discovery: functions '${declared_functions}', classes '${declared_classes}'")
endif()

execute_process(COMMAND ${NM} -DC --defined-only ${library}
                RESULT_VARIABLE result OUTPUT_VARIABLE symbols ERROR_VARIABLE error)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${NM} failed (${result}): ${error}")
endif()
# Brackets ("[abi:cxx11]") and semicolons would confuse CMake's lists.
string(REPLACE "[" "<" symbols "${symbols}")
string(REPLACE "]" ">" symbols "${symbols}")
string(REPLACE ";" "," symbols "${symbols}")
string(REPLACE "\n" ";" symbols "${symbols}")

set(offenders "")
set(exported_names "")
foreach(line ${symbols})
  # "<address> <type> <name>@@<version>"
  if(NOT line MATCHES "^[0-9a-f]* *[A-Za-z] (.*)$")
    continue()
  endif()
  set(symbol "${CMAKE_MATCH_1}")
  if(symbol STREQUAL version_node)
    continue()
  endif()
  if(NOT symbol MATCHES "^(.*)@@${version_node}$")
    list(APPEND offenders "${symbol} (not in ${version_node})")
    continue()
  endif()
  set(name "${CMAKE_MATCH_1}")
  string(REGEX REPLACE "^(typeinfo name for|typeinfo for|vtable for|VTT for) " "" name "${name}")
  # The first name after the namespaces must be a declared class or function.
  set(owner "")
  while(name MATCHES "^([A-Za-z_][A-Za-z0-9_]*)(.*)$")
    set(owner ${CMAKE_MATCH_1})
    set(rest "${CMAKE_MATCH_2}")
    if(owner IN_LIST namespaces AND rest MATCHES "^::(.*)$")
      set(name "${CMAKE_MATCH_1}")
    else()
      break()
    endif()
  endwhile()
  if(NOT owner IN_LIST declared)
    list(APPEND offenders "${symbol}")
    continue()
  endif()
  # Every class named on the way to the member, nested ones included, counts as exported.
  string(REGEX REPLACE "\\(.*$" "" qualified "${name}")
  string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*" names "${qualified}")
  list(APPEND exported_names ${owner} ${names})
endforeach()

set(missing "")
foreach(name ${declared_functions} ${declared_classes})
  if(NOT name IN_LIST exported_names)
    list(APPEND missing ${name})
  endif()
endforeach()

if(offenders OR missing)
  list(JOIN offenders "\n  " offender_text)
  message(FATAL_ERROR "libVelmora.so exports what its installed headers do not declare:\n  ${offender_text}\n"
                      "and does not export what they declare: ${missing}")
endif()
message(STATUS "${library}: every dynamic symbol is public, in ${version_node}")
