# quorvel_embed_resources(<target> <resource script>)
# Compiles a Windows resource script with windres into a standard .res file
# and links it into <target> as the module's resource section: the platform
# finds it through the exported symbols quorvel_module_resources[_size].
function(quorvel_embed_resources target rc_file)
  get_filename_component(rc_path ${rc_file} ABSOLUTE)
  get_filename_component(rc_dir ${rc_path} DIRECTORY)
  get_filename_component(rc_name ${rc_path} NAME_WE)
  set(res_file ${CMAKE_CURRENT_BINARY_DIR}/${rc_name}.res)
  set(asm_file ${CMAKE_CURRENT_BINARY_DIR}/${rc_name}_res.S)
  file(GLOB rc_inputs CONFIGURE_DEPENDS ${rc_dir}/*.ico ${rc_dir}/*.manifest ${rc_dir}/*.h)
  add_custom_command(
    OUTPUT ${res_file}
    COMMAND x86_64-w64-mingw32-windres --preprocessor=cpp --preprocessor-arg=-xc
            -DRC_INVOKED -I ${rc_dir} -O res -i ${rc_path} -o ${res_file}
    DEPENDS ${rc_path} ${rc_inputs}
    WORKING_DIRECTORY ${rc_dir}
    COMMENT "Compiling resources ${rc_name}.rc"
    VERBATIM)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/module_resources.S.in ${asm_file} @ONLY)
  set_source_files_properties(${asm_file} PROPERTIES OBJECT_DEPENDS ${res_file})
  target_sources(${target} PRIVATE ${asm_file})
  set_target_properties(${target} PROPERTIES ENABLE_EXPORTS ON)
endfunction()
