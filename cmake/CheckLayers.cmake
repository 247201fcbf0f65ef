# Checks that no source file includes across the layers the wrong way.
#   cmake -DSOURCE_DIR=<tree> [-DEXPECTED=<file>] -P CheckLayers.cmake
# Without EXPECTED the check fails on any crossing; with it, it fails unless the crossings found
# are exactly the lines of that file (the check's own test runs it on a tree of bad includes).
#
# Each rule: files whose path (relative to the tree) matches `from` may not include a project
# header whose path matches `to`; `reason` names the rule in the report.
set(rule_count 0)
macro(layer_rule from to reason)
  set(rule_from_${rule_count} "${from}")
  set(rule_to_${rule_count} "${to}")
  set(rule_reason_${rule_count} "${reason}")
  math(EXPR rule_count "${rule_count} + 1")
endmacro()
layer_rule("^platform/" "^(app|plugin|tools|outside)/" "platform knows nothing of the applications")
layer_rule("^app/core/" "^app/(images|ui|export|linkage)/" "app/core comes before the other app subsystems")
layer_rule("^app/images/" "^app/(ui|export|linkage)/" "app/images comes before the main window, export and linkage")
layer_rule("^plugin/" "^(app|tools)/" "the plug-in uses nothing of the application or the tools")
layer_rule("^tools/" "^(app|plugin)/" "the tools use nothing of the application or the plug-in")
layer_rule("^outside/" "^(app|plugin|tools)/" "the stand-ins of outside programs use nothing of the suite")
layer_rule("^(platform/[^/]+|app/core|app/images)/[^/]+$" "^(app/ui|app/core/windows|app/images/merge|platform/appkit/dialogs)/"
  "a logic target includes no widget target")
math(EXPR last_rule "${rule_count} - 1")

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers: SOURCE_DIR not given")
endif()
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
  ${SOURCE_DIR}/platform/*.h ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/app/*.cpp
  ${SOURCE_DIR}/plugin/*.h ${SOURCE_DIR}/plugin/*.cpp ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
  ${SOURCE_DIR}/outside/*.h ${SOURCE_DIR}/outside/*.cpp)
list(SORT files)

set(found)
foreach(file ${files})
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^[^\"]*\"([^\"]+)\".*$" "\\1" header "${line}")
    foreach(i RANGE ${last_rule})
      if(file MATCHES "${rule_from_${i}}" AND header MATCHES "${rule_to_${i}}")
        list(APPEND found "${file} includes ${header}: ${rule_reason_${i}}")
      endif()
    endforeach()
  endforeach()
endforeach()

list(JOIN found "\n" report)
if(EXPECTED)
  file(STRINGS ${EXPECTED} expected)
  list(JOIN expected "\n" wanted)
  if(NOT report STREQUAL wanted)
    message(FATAL_ERROR "Layer check found:\n${report}\nbut should have found:\n${wanted}")
  endif()
elseif(found)
  message(FATAL_ERROR "Includes that cross the layers the wrong way:\n${report}")
endif()
