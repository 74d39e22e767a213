# The version of every executable and window: major.minor.patch of
# project(VERSION), in a generated header core/Version.h (from
# core/Version.h.in) on every target's include path; also the name of the
# release archive.
set(WAYLOOM_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
if(NOT PROJECT_VERSION_PATCH MATCHES "^[0-9]+$")
  set(WAYLOOM_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0")
endif()
configure_file("${CMAKE_SOURCE_DIR}/core/Version.h.in" "${CMAKE_BINARY_DIR}/generated/core/Version.h" @ONLY)
include_directories(BEFORE "${CMAKE_BINARY_DIR}/generated")

set(WAYLOOM_RELEASE_NAME "wayloom-${WAYLOOM_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR}" CACHE INTERNAL "")
set(WAYLOOM_RELEASE_ARCHIVE "${CMAKE_BINARY_DIR}/${WAYLOOM_RELEASE_NAME}.tar.gz" CACHE INTERNAL "")
