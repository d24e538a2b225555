# The Windows build (mingw-w64): VorlaLib.dll from the library sources against the system's own
# headers, with the JPEG and PNG readers, every export at the ordinal windows/VorlaLib.exports
# records; the examples as .exe; the acceptance programs (windows/acceptance) with GoogleTest.
# The window-system layer is not built: on Windows the real one is there.
#
# VORLA_MINGW_DEPS: the prefix scripts/mingw-deps.sh prints (static libjpeg and libpng for mingw-w64).
# Without it the library is built without the JPEG and PNG readers, which then refuse every file.
set(VORLA_MINGW_DEPS "" CACHE PATH "Prefix with libjpeg.a, libpng16.a and their headers for mingw-w64 (scripts/mingw-deps.sh)")
set(VORLA_WINDOWS_TABLE "${PROJECT_SOURCE_DIR}/windows/VorlaLib.exports")
set(VORLA_WINDOWS_EXPORTS "${PROJECT_SOURCE_DIR}/scripts/windows-exports.sh")

# The objects apart, so that the module-definition file can be made from what they export before
# the DLL is linked from them.
add_library(vorla_objects OBJECT ${VORLA_LIBRARY_SOURCES})
target_include_directories(vorla_objects PUBLIC include platform/include)
target_compile_definitions(vorla_objects PRIVATE VORLA_BUILDING_LIBRARY VORLA_VERSION_NUMBER=${VORLA_VERSION_NUMBER})
target_compile_options(vorla_objects PRIVATE ${VORLA_WARNINGS})

set(VORLA_WINDOWS_IMAGE_LIBRARIES "")
if(VORLA_MINGW_DEPS)
  find_library(VORLA_MINGW_JPEG NAMES libjpeg.a PATHS "${VORLA_MINGW_DEPS}/lib" NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  find_library(VORLA_MINGW_PNG NAMES libpng16.a libpng.a PATHS "${VORLA_MINGW_DEPS}/lib" NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  find_library(VORLA_MINGW_ZLIB NAMES libz.a REQUIRED)
  target_include_directories(vorla_objects PRIVATE "${VORLA_MINGW_DEPS}/include")
  set(VORLA_WINDOWS_IMAGE_LIBRARIES ${VORLA_MINGW_JPEG} ${VORLA_MINGW_PNG} ${VORLA_MINGW_ZLIB})
  message(STATUS "VorlaLib: JPEG and PNG readers from ${VORLA_MINGW_DEPS}")
else()
  message(WARNING "VorlaLib: no VORLA_MINGW_DEPS, so VorlaLib.dll has no JPEG and PNG readers "
    "(bash scripts/mingw-deps.sh builds them)")
endif()

set(VORLA_WINDOWS_DEF "${PROJECT_BINARY_DIR}/VorlaLib.def")
add_custom_command(OUTPUT "${VORLA_WINDOWS_DEF}"
  COMMAND bash "${VORLA_WINDOWS_EXPORTS}" def "${VORLA_WINDOWS_TABLE}" "${VORLA_WINDOWS_DEF}" $<TARGET_OBJECTS:vorla_objects>
  DEPENDS $<TARGET_OBJECTS:vorla_objects> vorla_objects "${VORLA_WINDOWS_TABLE}" "${VORLA_WINDOWS_EXPORTS}"
  COMMENT "Giving every export of VorlaLib.dll its ordinal"
  COMMAND_EXPAND_LISTS VERBATIM)
# `cmake --build DIR --target vorla_exports_update` records new exports in the table.
add_custom_target(vorla_exports_update
  COMMAND bash "${VORLA_WINDOWS_EXPORTS}" update "${VORLA_WINDOWS_TABLE}" $<TARGET_OBJECTS:vorla_objects>
  DEPENDS vorla_objects COMMAND_EXPAND_LISTS VERBATIM)

add_library(vorla SHARED $<TARGET_OBJECTS:vorla_objects> "${VORLA_WINDOWS_DEF}")
add_library(VorlaLib::vorla ALIAS vorla)
target_include_directories(vorla PUBLIC include platform/include)
target_compile_features(vorla PUBLIC cxx_std_17)
# opengl32 for the OpenGL views' contexts and glFlush; gdi32 holds the pixel formats and SwapBuffers.
target_link_libraries(vorla PRIVATE ${VORLA_WINDOWS_IMAGE_LIBRARIES} opengl32 gdi32 user32 imm32 comdlg32)
# VorlaLib.dll and its import library libVorlaLib.dll.a.
set_target_properties(vorla PROPERTIES OUTPUT_NAME VorlaLib PREFIX "")

if(VORLA_BUILD_EXAMPLES)
  file(GLOB VORLA_EXAMPLE_DIRS LIST_DIRECTORIES true ${PROJECT_SOURCE_DIR}/examples/*)
  foreach(dir ${VORLA_EXAMPLE_DIRS})
    if(IS_DIRECTORY ${dir} AND EXISTS ${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endif()

# The acceptance programs need GoogleTest built for Windows: Debian's googletest ships its sources.
set(VORLA_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources to build for Windows")
if(VORLA_BUILD_TESTS AND EXISTS ${PROJECT_SOURCE_DIR}/windows/acceptance/CMakeLists.txt)
  if(EXISTS ${VORLA_GOOGLETEST_SOURCE}/CMakeLists.txt)
    add_subdirectory(windows/acceptance)
  else()
    message(STATUS "VorlaLib: no GoogleTest sources in ${VORLA_GOOGLETEST_SOURCE}, no acceptance programs")
  endif()
endif()

# Where a window's client area lies on the screen, for comparing a capture under Wine.
add_executable(client_rect windows/client_rect.cpp)
target_compile_options(client_rect PRIVATE ${VORLA_WARNINGS})
