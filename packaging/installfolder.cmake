# Run by `cmake --install` after the program is in place: the starter db.mdb and bin/vardel.
# VARDEL_MKDB, VARDEL_NAMES and VARDEL_INSTALL_APPDIR are set by the install step before it.
set(prefix "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(db "${prefix}/${VARDEL_INSTALL_APPDIR}/db.mdb")
if(EXISTS "${db}")
    message(STATUS "Kept: ${db}")
else()
    message(STATUS "Building: ${db}")
    execute_process(COMMAND "${VARDEL_MKDB}" "${VARDEL_NAMES}" "${db}"
                    RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "vardel-mkdb could not build ${db}")
    endif()
endif()

# A relative link, so that the prefix stays movable.
file(MAKE_DIRECTORY "${prefix}/bin")
message(STATUS "Installing: ${prefix}/bin/vardel")
file(CREATE_LINK "../${VARDEL_INSTALL_APPDIR}/vardel" "${prefix}/bin/vardel" SYMBOLIC)
