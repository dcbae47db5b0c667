# Run by `cmake --install` after the program is in place: the starter db.mdb and, on Linux,
# bin/vardel. VARDEL_MKDB (the tool's command line: an emulator first in a cross build),
# VARDEL_NAMES, VARDEL_INSTALL_APPDIR and VARDEL_BIN_LINK are set by the install step before it.
set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(db "${prefix}/${VARDEL_INSTALL_APPDIR}/db.mdb")
cmake_path(NORMAL_PATH db)
if(EXISTS "${db}")
    message(STATUS "Kept: ${db}")
else()
    message(STATUS "Building: ${db}")
    execute_process(COMMAND ${VARDEL_MKDB} "${VARDEL_NAMES}" "${db}"
                    RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0 OR NOT EXISTS "${db}")
        message(FATAL_ERROR "vardel-mkdb could not build ${db}")
    endif()
endif()

if(VARDEL_BIN_LINK)
    # A relative link, so that the prefix stays movable.
    file(MAKE_DIRECTORY "${prefix}/bin")
    message(STATUS "Installing: ${prefix}/bin/vardel")
    file(CREATE_LINK "../${VARDEL_INSTALL_APPDIR}/vardel" "${prefix}/bin/vardel" SYMBOLIC)
endif()
