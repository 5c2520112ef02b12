# The sample disks are committed compressed; tests and the demo read the
# decompressed copies that the build places in build/<preset>/samples.
set(SALVOR_SAMPLES_DIR ${CMAKE_BINARY_DIR}/samples)
file(GLOB _packed CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/samples/*.xz)
set(_unpacked)
foreach(_xz ${_packed})
  get_filename_component(_name ${_xz} NAME_WLE)
  set(_out ${SALVOR_SAMPLES_DIR}/${_name})
  add_custom_command(OUTPUT ${_out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${SALVOR_SAMPLES_DIR}
    COMMAND sh -c "xz -dc '${_xz}' > '${_out}.tmp' && mv '${_out}.tmp' '${_out}'"
    DEPENDS ${_xz} VERBATIM)
  list(APPEND _unpacked ${_out})
endforeach()
file(GLOB _manifests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/samples/*.json)
foreach(_m ${_manifests})
  get_filename_component(_name ${_m} NAME)
  configure_file(${_m} ${SALVOR_SAMPLES_DIR}/${_name} COPYONLY)
endforeach()
add_custom_target(sample_images ALL DEPENDS ${_unpacked})
