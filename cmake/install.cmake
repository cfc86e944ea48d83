# What `cmake --install` puts where (GNUInstallDirs), and the Debian package
# that `cpack -G DEB` makes of the same files:
#
#   lib/libzav.so*                      the shared library (bin/zav.dll on Windows)
#   include/zav.h                       its C interface
#   bin/zav-import                      the converter (installed by its own folder)
#   lib/cmake/zav/                      find_package(zav CONFIG) -> zav::zav
#   lib/pkgconfig/zav.pc                pkg-config --cflags --libs zav
#   lib/python3/dist-packages/zav/      the Python module (ZAV_INSTALL_PYTHONDIR)
#   share/man/man1/zav-import.1         the manual page
#   share/bash-completion/completions/  completion of zav-import's options
include(CMakePackageConfigHelpers)

set(ZAV_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/zav CACHE STRING
    "Where the CMake package files go, below the prefix")
# Debian's interpreters look in lib/python3/dist-packages, with no
# architecture in the path.
set(ZAV_INSTALL_PYTHONDIR lib/python3/dist-packages CACHE STRING
    "Where the Python module zav goes, below the prefix")

install(TARGETS zav EXPORT zavTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${PROJECT_SOURCE_DIR}/include/zav.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

# The CMake package.
install(EXPORT zavTargets NAMESPACE zav:: DESTINATION ${ZAV_INSTALL_CMAKEDIR} FILE zavTargets.cmake)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zavConfig.cmake.in
  ${PROJECT_BINARY_DIR}/zavConfig.cmake INSTALL_DESTINATION ${ZAV_INSTALL_CMAKEDIR})
# Before 1.0 a new minor version may change what a host sees.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/zavConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/zavConfig.cmake ${PROJECT_BINARY_DIR}/zavConfigVersion.cmake
  DESTINATION ${ZAV_INSTALL_CMAKEDIR})

# zav.pc names the prefix the files are installed under, which
# `cmake --install --prefix` and cpack choose only at install time: the file
# is written then.
foreach(kind LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${kind}}")
    set(ZAV_PC_${kind} "${CMAKE_INSTALL_${kind}}")
  else()
    set(ZAV_PC_${kind} "\${prefix}/${CMAKE_INSTALL_${kind}}")
  endif()
endforeach()
set(ZAV_PC_PREFIX "@ZAV_PC_PREFIX@")  # kept for the install-time pass
configure_file(${PROJECT_SOURCE_DIR}/cmake/zav.pc.in ${PROJECT_BINARY_DIR}/zav.pc.in @ONLY)
install(CODE "
  set(ZAV_PC_PREFIX \"\${CMAKE_INSTALL_PREFIX}\")
  configure_file(\"${PROJECT_BINARY_DIR}/zav.pc.in\" \"${PROJECT_BINARY_DIR}/zav.pc\" @ONLY)")
install(FILES ${PROJECT_BINARY_DIR}/zav.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The Python module, told where the library lies relative to itself so that
# any prefix works.
if(NOT WIN32)
  file(RELATIVE_PATH ZAV_PYTHON_LIBRARY_DIR /prefix/${ZAV_INSTALL_PYTHONDIR}/zav /prefix/${CMAKE_INSTALL_LIBDIR})
  if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(ZAV_PYTHON_LIBRARY_DIR "${CMAKE_INSTALL_LIBDIR}")
  endif()
  file(WRITE ${PROJECT_BINARY_DIR}/python/_installed.py
    "# Written by cmake --install: where libzav lies, relative to this folder.\n"
    "LIBRARY_DIR = \"${ZAV_PYTHON_LIBRARY_DIR}\"\n"
    "LIBRARY_NAME = \"libzav.so.${PROJECT_VERSION_MAJOR}\"\n")
  install(FILES ${PROJECT_SOURCE_DIR}/python/zav/__init__.py ${PROJECT_BINARY_DIR}/python/_installed.py
    DESTINATION ${ZAV_INSTALL_PYTHONDIR}/zav)
endif()

# The manual page and the completion script of zav-import.
if(TARGET zav-import)
  if(EXISTS ${PROJECT_SOURCE_DIR}/docs/zav-import.1)
    install(FILES ${PROJECT_SOURCE_DIR}/docs/zav-import.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endif()
  if(EXISTS ${PROJECT_SOURCE_DIR}/tools/zav-import/zav-import.bash)
    install(FILES ${PROJECT_SOURCE_DIR}/tools/zav-import/zav-import.bash
      DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zav-import)
  endif()
endif()

# cpack -G DEB
if(PROJECT_IS_TOP_LEVEL AND NOT WIN32)
  set(CPACK_PACKAGE_NAME zav)
  set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "PSpice-dialect model file import library and converter")
  set(CPACK_PACKAGE_DESCRIPTION
      "zav imports circuit-simulation model files written in the PSpice dialect of SPICE and\n"
      "translates their models for a host simulator: libzav with its C header, CMake and\n"
      "pkg-config files, the zav-import converter with its manual page and completion, and\n"
      "the Python module zav.")
  string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
  set(CPACK_PACKAGE_CONTACT "zav developers <zav@localhost>")
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  find_program(ZAV_DPKG_SHLIBDEPS dpkg-shlibdeps)
  if(ZAV_DPKG_SHLIBDEPS)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  else()
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
  endif()
  set(CPACK_DEBIAN_PACKAGE_SUGGESTS "python3")
  set(CPACK_GENERATOR DEB)
  include(CPack)
endif()
