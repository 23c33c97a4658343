# The packer must run during a Windows build, so it is built for the build
# machine from the same sources, never taken from the cross build.
include(ExternalProject)
ExternalProject_Add(host_tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/host-tools
  CMAKE_ARGS -DUPDATER_HOST_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${CMAKE_BINARY_DIR}/host-tools/tools/packer/packer
                   ${CMAKE_BINARY_DIR}/host-tools/tests/fixtures/make_fixtures
                   ${CMAKE_BINARY_DIR}/host-tools/tools/icongen/icongen)
set(HOST_PACKER ${CMAKE_BINARY_DIR}/host-tools/tools/packer/packer)
set(HOST_MAKE_FIXTURES ${CMAKE_BINARY_DIR}/host-tools/tests/fixtures/make_fixtures)
set(HOST_ICONGEN ${CMAKE_BINARY_DIR}/host-tools/tools/icongen/icongen)
