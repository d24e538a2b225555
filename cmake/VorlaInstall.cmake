# Installs VorlaLib like any C++ library: the shared library, the public headers with everything
# they include, the CMake package VorlaLib (targets VorlaLib::vorla and, with OSMesa, VorlaLib::OpenGL),
# vorla.pc and vorla-opengl.pc, and a .deb through CPack.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

# The public headers include "platform/win32.h" (and tests "platform/testing/driver.h"), so both
# folders go under one folder of their own: a bare include/platform/ would be a name for anyone.
set(VORLA_INSTALL_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}/VorlaLib")
set(VORLA_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/VorlaLib")

target_include_directories(vorla INTERFACE $<INSTALL_INTERFACE:${VORLA_INSTALL_INCLUDEDIR}>)

install(TARGETS vorla EXPORT VorlaLibTargets
  LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}" COMPONENT Runtime NAMELINK_COMPONENT Development
  RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT Runtime)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/vorla" "${PROJECT_SOURCE_DIR}/platform/include/platform"
  DESTINATION "${VORLA_INSTALL_INCLUDEDIR}" COMPONENT Development
  FILES_MATCHING PATTERN "*.h")

install(EXPORT VorlaLibTargets NAMESPACE VorlaLib:: FILE VorlaLibTargets.cmake
  DESTINATION "${VORLA_INSTALL_CMAKEDIR}" COMPONENT Development)
configure_package_config_file("${CMAKE_CURRENT_LIST_DIR}/VorlaLibConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/VorlaLibConfig.cmake" INSTALL_DESTINATION "${VORLA_INSTALL_CMAKEDIR}")
# The SONAME carries the major version, so only a package of the same major version will do.
write_basic_package_version_file("${PROJECT_BINARY_DIR}/VorlaLibConfigVersion.cmake"
  COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/VorlaLibConfig.cmake" "${PROJECT_BINARY_DIR}/VorlaLibConfigVersion.cmake"
  DESTINATION "${VORLA_INSTALL_CMAKEDIR}" COMPONENT Development)

# Applications that draw in OpenGL views link Mesa's off-screen library, the one the views'
# contexts come from (glvnd's libGL would send their GL calls elsewhere): VorlaLib::OpenGL carries
# both, in this tree as in the installed package, where the config file finds OSMesa itself.
if(VORLA_HAVE_OSMESA)
  add_library(vorla_opengl INTERFACE)
  target_link_libraries(vorla_opengl INTERFACE vorla ${VORLA_OSMESA_LIBRARY})
  add_library(VorlaLib::OpenGL ALIAS vorla_opengl)
endif()

# vorla.pc finds its prefix from where it lies (${pcfiledir}), so `cmake --install --prefix`, a
# staging folder and the package all get a working file from one configuration.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}" OR IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(VORLA_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(VORLA_PC_LIBDIR "${CMAKE_INSTALL_FULL_LIBDIR}")
  set(VORLA_PC_INCLUDEDIR "${CMAKE_INSTALL_FULL_INCLUDEDIR}/VorlaLib")
else()
  file(RELATIVE_PATH up "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
  string(REGEX REPLACE "/$" "" up "${up}")
  set(VORLA_PC_PREFIX "\${pcfiledir}/${up}")
  set(VORLA_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
  set(VORLA_PC_INCLUDEDIR "\${prefix}/${VORLA_INSTALL_INCLUDEDIR}")
endif()
configure_file("${CMAKE_CURRENT_LIST_DIR}/vorla.pc.in" "${PROJECT_BINARY_DIR}/vorla.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/vorla.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
  COMPONENT Development)
# vorla-opengl.pc: vorla and Mesa's osmesa.pc, for applications that draw in OpenGL views.
if(VORLA_HAVE_OSMESA)
  configure_file("${CMAKE_CURRENT_LIST_DIR}/vorla-opengl.pc.in" "${PROJECT_BINARY_DIR}/vorla-opengl.pc" @ONLY)
  install(FILES "${PROJECT_BINARY_DIR}/vorla-opengl.pc" DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig"
    COMPONENT Development)
endif()

# ---- cpack -G DEB: one package with the library, its headers and the files to find it ----
# Only a top-level build packs: inside an application's tree CPack belongs to the application.
if(NOT PROJECT_IS_TOP_LEVEL)
  return()
endif()
set(VORLA_PACKAGE_CONTACT "VorlaLib developers <vorlalib@example.org>" CACHE STRING
  "Maintainer of the Debian package")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorlalib)
set(CPACK_PACKAGE_VENDOR VorlaLib)
set(CPACK_PACKAGE_CONTACT "${VORLA_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "C++17 GUI toolkit whose widgets are drawn by the library itself")
set(CPACK_PACKAGE_DESCRIPTION "VorlaLib draws every widget itself on its own window-system layer,
on the desktop through SDL2 or headless in memory. The package holds the
shared library, its headers, the test driver for headless tests of
applications, the CMake package (find_package(VorlaLib)) and vorla.pc.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
# The shared libraries it links come from dpkg-shlibdeps; text needs the Gothic face it looks up
# through fontconfig at run time, which no linker sees.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A shlibs file, so that applications packaged against this one depend on it in turn.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fontconfig, fonts-ipafont-gothic")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "cmake, pkg-config, libgtest-dev")
# OpenGL views load Mesa's off-screen library when the first context is made, which no linker sees;
# applications that draw in them link its development files.
if(VORLA_HAVE_OSMESA)
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libosmesa6")
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "${CPACK_DEBIAN_PACKAGE_SUGGESTS}, libosmesa6-dev")
endif()
include(CPack)
