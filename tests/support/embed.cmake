# Compiles files into a test as byte strings, so a test under Wine needs no path to the
# source tree:  quenby_embed(TARGET FUNCTION file...)  gives
#   std::string FUNCTION(const std::string& name)   ("" for an unknown name)
function(quenby_embed target func)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${func}_embedded.cpp)  # one per target
  set(body "#include <string>\n#include <map>\nstd::string ${func}(const std::string& name) {\n  static const std::map<std::string, std::string> files{\n")
  foreach(f ${ARGN})
    get_filename_component(name ${f} NAME)
    file(READ ${f} hex HEX)
    file(SIZE ${f} size)
    string(REGEX REPLACE "(..)" "\\\\x\\1" escaped "${hex}")
    string(APPEND body "    {\"${name}\", std::string(\"${escaped}\", ${size})},\n")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${f})
  endforeach()
  string(APPEND body "  };\n  auto it = files.find(name);\n  return it == files.end() ? std::string() : it->second;\n}\n")
  file(WRITE ${out}.tmp "${body}")
  configure_file(${out}.tmp ${out} COPYONLY)
  target_sources(${target} PRIVATE ${out})
endfunction()
