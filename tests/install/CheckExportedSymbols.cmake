# Installs a build into a fresh prefix and holds the dynamic symbols of the installed library against the
# installed headers, both ways:
# - every function that an installed header declares and a host can reach (public and protected members
#   included, whatever macro they carry) is defined by the library: a host generated from the headers calls
#   each of them and takes the type information of each polymorphic class, and must link;
# - every dynamic symbol belongs to the version node VELMORA_1 and to a record, function or variable that an
#   installed header declares (its members, vtable and type information included). Anything else, such as
#   the standard library's or spdlog's template code or a test seam, fails it.
# The declarations are read from clang's syntax tree of the installed headers, so a new declaration is held
# to this without any list to update.
#
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DNM=... -DCLANGXX=... -DAWK=... -DCXX_COMPILER=...
#         [-DSANITIZE=address,undefined] -P CheckExportedSymbols.cmake

cmake_minimum_required(VERSION 3.25)

set(version_node VELMORA_1)
set(here ${CMAKE_CURRENT_LIST_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/InstallTestSupport.cmake)

if(NOT CLANGXX OR NOT EXISTS "${CLANGXX}")
  message(FATAL_ERROR "clang++ reads the installed headers' declarations; install it (scripts/deps.sh --tests)")
endif()

install_into_fresh_prefix()

# The library by its SONAME, as a host loads it.
file(GLOB library ${prefix}/*/libVelmora.so.1)
list(LENGTH library library_count)
if(NOT library_count EQUAL 1)
  message(FATAL_ERROR "expected one libVelmora.so.1 in ${prefix}, found: '${library}'")
endif()

# Every installed header, in one translation unit.
set(include_dir ${prefix}/include/Velmora)
file(GLOB_RECURSE headers RELATIVE ${include_dir} ${include_dir}/*.h)
list(SORT headers)
set(includes "")
foreach(header ${headers})
  string(APPEND includes "#include \"${header}\"\n")
endforeach()
file(WRITE ${WORK_DIR}/Headers.h "${includes}")

execute_process(COMMAND ${CLANGXX} -std=c++20 -fsyntax-only -I${include_dir} -Xclang -ast-dump -x c++
                        ${WORK_DIR}/Headers.h
                OUTPUT_FILE ${WORK_DIR}/dump.txt ERROR_VARIABLE error RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the installed headers do not compile together:\n${error}")
endif()
execute_process(COMMAND ${AWK} -v ROOT=${include_dir}/ -v NAMES=${WORK_DIR}/names.txt -f ${here}/UseDeclarations.awk
                        ${WORK_DIR}/dump.txt
                OUTPUT_FILE ${WORK_DIR}/uses.cpp ERROR_VARIABLE error RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "reading the declarations failed:\n${error}")
endif()
file(STRINGS ${WORK_DIR}/names.txt declared)
file(READ ${WORK_DIR}/uses.cpp uses)
if(NOT "Pyx_Init" IN_LIST declared OR NOT "DiscoverUsbReaders" IN_LIST declared OR NOT "Pyx::Reader" IN_LIST declared
   OR NOT uses MATCHES "Reader::Beep\\(")
  message(FATAL_ERROR "the installed headers' declarations were not read: ${declared}")
endif()

# The host: never run, only linked, so its calls need no meaningful arguments.
file(WRITE ${WORK_DIR}/host.cpp "${includes}
#include <new>
#include <type_traits>
#include <typeinfo>

namespace VelmoraHost
{
void* Storage()
{
    alignas(64) static unsigned char storage[64];
    return storage;
}
template <typename T> T&& Arg()
{
    return static_cast<T&&>(*static_cast<std::remove_reference_t<T>*>(Storage()));
}
inline const void* volatile kept;
inline void Keep(const void* address)
{
    kept = address;
}
} // namespace VelmoraHost

${uses}
int main()
{
    return 0;
}
")
set(sanitize_flags "")
if(SANITIZE)
  set(sanitize_flags -fsanitize=${SANITIZE})
endif()
get_filename_component(lib_dir ${library} DIRECTORY)
run("the host that calls every declared function" ${CXX_COMPILER} -std=c++20 ${sanitize_flags} -I${include_dir}
    ${WORK_DIR}/host.cpp -L${lib_dir} -lVelmora -o ${WORK_DIR}/host)

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
  string(REGEX REPLACE "^(typeinfo name for|typeinfo for|vtable for|VTT for|construction vtable for|non-virtual thunk to|virtual thunk to) "
                       "" name "${name}")
  string(REPLACE "<abi:cxx11>" "" name "${name}")
  # The qualified name, without the parameters (the call operator's own parentheses kept).
  string(REPLACE "operator()" "operator@" name "${name}")
  string(REGEX REPLACE "\\(.*$" "" name "${name}")
  string(REPLACE "operator@" "operator()" name "${name}")
  if(NOT name IN_LIST declared)
    list(APPEND offenders "${symbol}")
  endif()
endforeach()

if(offenders)
  list(JOIN offenders "\n  " offender_text)
  message(FATAL_ERROR "libVelmora.so exports what its installed headers do not declare:\n  ${offender_text}")
endif()
message(STATUS "${library}: every declared function is exported, every dynamic symbol is public, in ${version_node}")
