# cmake -DSOURCE=<demo folder> -DDEST=<suite folder> -P LayOutSuite.cmake
# Copies every file of SOURCE that DEST does not have yet; files already there are kept as they are.
file(GLOB_RECURSE files RELATIVE "${SOURCE}" "${SOURCE}/*")
foreach(rel IN LISTS files)
    if(NOT EXISTS "${DEST}/${rel}")
        get_filename_component(dir "${DEST}/${rel}" DIRECTORY)
        file(MAKE_DIRECTORY "${dir}")
        file(COPY_FILE "${SOURCE}/${rel}" "${DEST}/${rel}")
    endif()
endforeach()
