# Installs a build into a fresh prefix and builds the host HOST_SOURCE against it twice, with the flags
# pkg-config gives and as a CMake project that finds the package; each host must run and succeed. A host
# source ending in .c is compiled as C11, any other as C++20.
#
#   cmake -DBUILD_DIR=... -DWORK_DIR=... -DHOST_SOURCE=... -DHOST_PROJECT=... -DCXX_COMPILER=... -DC_COMPILER=...
#         [-DSANITIZE=address,undefined] [-DGENERATOR=Ninja] -P RunInstallTest.cmake

include(${CMAKE_CURRENT_LIST_DIR}/InstallTestSupport.cmake)

install_into_fresh_prefix()

# Only the public interface is installed.
foreach(internal Logging/Logger.h Utility/StringUtils.h Utility/EnvironmentVariables.h Transport.h ProtocolFacade.h
                 Visitors/CommandVisitor.h Utilities/ExecutionHelpers.h Utility/Parsers/HwgFileParser.h)
  if(EXISTS ${prefix}/include/Velmora/${internal})
    message(FATAL_ERROR "internal header installed: ${internal}")
  endif()
endforeach()

file(GLOB_RECURSE pc_files ${prefix}/*/velmora.pc)
file(GLOB_RECURSE config_files ${prefix}/*/VelmoraConfig.cmake)
list(LENGTH pc_files pc_count)
list(LENGTH config_files config_count)
if(NOT pc_count EQUAL 1 OR NOT config_count EQUAL 1)
  message(FATAL_ERROR "expected one velmora.pc and one VelmoraConfig.cmake, found: ${pc_files} ${config_files}")
endif()
get_filename_component(pc_dir ${pc_files} DIRECTORY)
get_filename_component(lib_dir ${pc_dir} DIRECTORY)

if(HOST_SOURCE MATCHES "\\.c$")
  set(compiler ${C_COMPILER})
  set(standard -std=c11)
else()
  set(compiler ${CXX_COMPILER})
  set(standard -std=c++20)
endif()
set(sanitize_flags "")
if(SANITIZE)
  set(sanitize_flags -fsanitize=${SANITIZE})
endif()

# pkg-config
find_program(PKG_CONFIG pkg-config REQUIRED)
# The version the host asks for is the one the library reports at run time.
run("pkg-config version" ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir} ${PKG_CONFIG} --atleast-version=1.7 velmora)
run("pkg-config" ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dir} ${PKG_CONFIG} --cflags --libs velmora)
string(STRIP "${run_output}" pc_flags)
separate_arguments(pc_flags UNIX_COMMAND "${pc_flags}")
run("host build with pkg-config" ${compiler} ${standard} ${sanitize_flags} ${HOST_SOURCE} ${pc_flags}
    -o ${WORK_DIR}/host-pkgconfig)
run("host built with pkg-config" ${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${lib_dir} ${WORK_DIR}/host-pkgconfig)

# CMake
set(generator_args "")
if(GENERATOR)
  set(generator_args -G ${GENERATOR})
endif()
run("host configure with CMake" ${CMAKE_COMMAND} -S ${HOST_PROJECT} -B ${WORK_DIR}/host-cmake ${generator_args}
    -DCMAKE_PREFIX_PATH=${prefix} -DHOST_SOURCE=${HOST_SOURCE} -DCMAKE_C_COMPILER=${C_COMPILER}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER} "-DCMAKE_C_FLAGS=${sanitize_flags}" "-DCMAKE_CXX_FLAGS=${sanitize_flags}")
run("host build with CMake" ${CMAKE_COMMAND} --build ${WORK_DIR}/host-cmake)
# CMake links the imported library with a run path to the prefix, so no library path is set here.
run("host built with CMake" ${WORK_DIR}/host-cmake/host)
message(STATUS "installed into ${prefix}; hosts built with pkg-config and with CMake run")
