# The libraries of the Windows cross build, made from Debian's packages on the build machine,
# for a build whose toolchain cannot use the host's compiled libraries. Included right after
# the top-level project() (CMAKE_PROJECT_TransVelorOrtelia_INCLUDE), so the targets exist
# before the project looks for its packages:
#   pugixml::pugixml  compiled from the sources of Debian's source package
#                     (TV_PUGIXML_SOURCE_DIR, the folder holding src/pugixml.cpp);
#   GTest::gtest, GTest::gtest_main  compiled from TV_GOOGLETEST_SOURCE_DIR
#                     (package googletest: /usr/src/googletest);
#   CLI11::CLI11      the header-only library used in place (TV_CLI11_INCLUDE_DIR, the
#                     folder holding CLI/CLI.hpp: package libcli11-dev puts it in /usr/include).
# find_package() of these three is answered from here, through CMake's package redirects.

set(TV_PUGIXML_SOURCE_DIR "" CACHE PATH "Sources of pugixml (the folder holding src/pugixml.cpp)")
set(TV_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "Sources of GoogleTest")
set(TV_CLI11_INCLUDE_DIR /usr/include CACHE PATH "The folder holding CLI/CLI.hpp")

if(NOT EXISTS "${TV_PUGIXML_SOURCE_DIR}/src/pugixml.cpp")
  message(FATAL_ERROR "TV_PUGIXML_SOURCE_DIR (${TV_PUGIXML_SOURCE_DIR}) holds no src/pugixml.cpp")
endif()
if(NOT EXISTS "${TV_CLI11_INCLUDE_DIR}/CLI/CLI.hpp")
  message(FATAL_ERROR "TV_CLI11_INCLUDE_DIR (${TV_CLI11_INCLUDE_DIR}) holds no CLI/CLI.hpp")
endif()

# Tells find_package(NAME) that the package is already here.
function(tv_redirect_package name)
  string(TOLOWER ${name} lower)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower}-config.cmake
       "# Provided by debian-cross-deps.cmake.\n")
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${lower}-config-version.cmake
       "set(PACKAGE_VERSION_COMPATIBLE TRUE)\n")
endfunction()

add_library(tv_pugixml STATIC ${TV_PUGIXML_SOURCE_DIR}/src/pugixml.cpp)
target_include_directories(tv_pugixml SYSTEM PUBLIC ${TV_PUGIXML_SOURCE_DIR}/src)
add_library(pugixml::pugixml ALIAS tv_pugixml)
tv_redirect_package(pugixml)

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${TV_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
tv_redirect_package(GTest)

# Only CLI/ of the host's include folder is put on the include path: the host's other headers
# must not shadow the cross compiler's.
set(tv_cli11_include ${CMAKE_BINARY_DIR}/cli11-include)
file(MAKE_DIRECTORY ${tv_cli11_include})
file(CREATE_LINK ${TV_CLI11_INCLUDE_DIR}/CLI ${tv_cli11_include}/CLI SYMBOLIC)
add_library(tv_cli11 INTERFACE)
target_include_directories(tv_cli11 SYSTEM INTERFACE ${tv_cli11_include})
add_library(CLI11::CLI11 ALIAS tv_cli11)
tv_redirect_package(CLI11)
