# purgo_version_resource(target description): the executable's version
# resource (product "Oxle Purgo", company "Oxle", PURGO_VERSION), Windows only.
function(purgo_version_resource target description)
  set(PURGO_FILE_DESCRIPTION "${description}")
  set(PURGO_FILE_NAME "${target}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/resources/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
