# Installs VorlaLib like any C++ library: the shared library, the public headers with everything
# they include, the CMake package VorlaLib (target VorlaLib::vorla), vorla.pc, and a .deb through CPack.
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
