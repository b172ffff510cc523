# What Windows shows of the two executables: the drill's icon (drawn at build time by tools/make-icon from
# the same picture as the window's icon, so no image file lives in the tree), version information from the
# project's version, and a manifest (per-monitor DPI awareness, the common controls of Windows Vista on).
set(WARIZAN_ICON_FILE "${CMAKE_BINARY_DIR}/windows/warizan.ico")
set(WARIZAN_MANIFEST_FILE "${CMAKE_BINARY_DIR}/windows/warizan.manifest")
configure_file("${CMAKE_CURRENT_LIST_DIR}/windows/warizan.manifest.in" "${WARIZAN_MANIFEST_FILE}" @ONLY)

# Adds the resources to `target`; `description` is the file description Explorer shows.
function(warizan_windows_resources target description)
    set(WARIZAN_RC_TARGET "${target}")
    set(WARIZAN_RC_DESCRIPTION "${description}")
    set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc")
    configure_file("${PROJECT_SOURCE_DIR}/cmake/windows/resources.rc.in" "${rc}" @ONLY)
    set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${WARIZAN_ICON_FILE};${WARIZAN_MANIFEST_FILE}")
    target_sources(${target} PRIVATE "${rc}")
    add_dependencies(${target} warizan_icon)
endfunction()
