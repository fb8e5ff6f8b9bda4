# What `cmake --install` puts where, the pkg-config file, the CMake package
# (zqapi::zqapi) and the Debian package of `make package`.
include(CMakePackageConfigHelpers)

set(ZQ_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zqapi)

install(TARGETS zqapi EXPORT zqapiTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} NAMELINK_COMPONENT Development
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(TARGETS zqapi_static ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/zqapi DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        FILES_MATCHING PATTERN "*.h")
install(FILES ${ZQ_OUT}/zqsystem.cat DESTINATION ${ZQ_CATALOG_INSTALL_DIR})

foreach(program zq zqserverd zqreplay)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(FILES ${CMAKE_SOURCE_DIR}/dist/man/zq.1 ${CMAKE_SOURCE_DIR}/dist/man/zqreplay.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/dist/man/zqserverd.8 DESTINATION ${CMAKE_INSTALL_MANDIR}/man8)
# zq's bash completion is what `zq completion bash` prints.
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/zq.bash
                   COMMAND ${CMAKE_COMMAND} -DZQ=$<TARGET_FILE:zq> -DOUT=${CMAKE_BINARY_DIR}/zq.bash
                           -P ${CMAKE_SOURCE_DIR}/cmake/write_completion.cmake
                   DEPENDS zq ${CMAKE_SOURCE_DIR}/cmake/write_completion.cmake)
add_custom_target(zqcompletion ALL DEPENDS ${CMAKE_BINARY_DIR}/zq.bash)
install(FILES ${CMAKE_BINARY_DIR}/zq.bash
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zq)

# zqserverd as a service; the unit names the installed program.
configure_file(${CMAKE_SOURCE_DIR}/dist/zqserverd.service.in ${CMAKE_BINARY_DIR}/zqserverd.service
               @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zqserverd.service DESTINATION lib/systemd/system)

# pkg-config: `pkg-config --cflags --libs zqapi` (add --static for the archive).
file(RELATIVE_PATH ZQ_PC_TO_PREFIX ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" ZQ_PC_TO_PREFIX "${ZQ_PC_TO_PREFIX}")
configure_file(${CMAKE_SOURCE_DIR}/cmake/zqapi.pc.in ${CMAKE_BINARY_DIR}/zqapi.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/zqapi.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# find_package(zqapi) gives zqapi::zqapi.
install(EXPORT zqapiTargets NAMESPACE zqapi:: DESTINATION ${ZQ_CMAKE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/zqapiConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/zqapiConfig.cmake
                              INSTALL_DESTINATION ${ZQ_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/zqapiConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/zqapiConfig.cmake ${CMAKE_BINARY_DIR}/zqapiConfigVersion.cmake
        DESTINATION ${ZQ_CMAKE_DIR})

# `make package` (a build configured for /usr): one Debian package with the library, the programs and the
# development files.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME libzqapi)
set(CPACK_PACKAGE_VENDOR "libzqapi developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "client library of the zq ticketing and workflow server, with zq and zqserverd")
set(CPACK_PACKAGE_CONTACT "libzqapi developers <libzqapi@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Stripped, as Debian packages are: a tenth of the size.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
