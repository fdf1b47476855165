# Writes Brevanto.manifest beside the DLL: the assembly manifest of registration-free activation.
# Its classes and interfaces are read from the IDL, so that a class added there is in the
# manifest too: one comClass per class, and for every dual interface the standard
# automation proxy, so that calls across apartments are marshalled from the type library as
# after a registration.

file(READ ${CMAKE_CURRENT_SOURCE_DIR}/brevanto.idl.in idl_text)
string(REGEX MATCH "\\[uuid\\(([0-9A-Fa-f-]+)\\)[^]]*\\][ \t\r\n]*library" _ "${idl_text}")
set(libid "{${CMAKE_MATCH_1}}")
if(libid STREQUAL "{}")
  message(FATAL_ERROR "manifest: no library identifier in brevanto.idl.in")
endif()

# Sets <out> to the "uuid|name|attributes" of every declaration of <kind> (coclass, interface)
# in the IDL text, in order.
function(idl_declarations kind out)
  string(REGEX MATCHALL "\\[[^]]*uuid\\([0-9A-Fa-f-]+\\)[^]]*\\][ \t\r\n]*${kind} [A-Za-z0-9_]+"
         found "${idl_text}")
  set(result "")
  foreach(entry IN LISTS found)
    string(REGEX MATCH "uuid\\(([0-9A-Fa-f-]+)\\)" _ "${entry}")
    set(uuid "{${CMAKE_MATCH_1}}")
    string(REGEX MATCH "${kind} ([A-Za-z0-9_]+)$" _ "${entry}")
    set(name ${CMAKE_MATCH_1})
    string(REGEX REPLACE "[\r\n]" " " attributes "${entry}")
    list(APPEND result "${uuid}|${name}|${attributes}")
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

set(classes "")
set(class_count 0)
idl_declarations(coclass coclasses)
foreach(entry IN LISTS coclasses)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 clsid)
  list(GET fields 1 name)
  list(GET fields 2 attributes)
  # A class that clients may not create is listed without a programmatic identifier, as it is
  # registered: creating it reaches DllGetClassObject and fails there with
  # CLASS_E_CLASSNOTAVAILABLE rather than "not registered".
  set(progid "")
  if(NOT attributes MATCHES "noncreatable")
    set(progid " progid=\"${PROJECT_NAME}.${name}\"")
    math(EXPR class_count "${class_count} + 1")
  endif()
  string(APPEND classes "    <comClass clsid=\"${clsid}\"${progid} "
         "threadingModel=\"Apartment\" tlbid=\"${libid}\" description=\"${name}\"/>\n")
endforeach()

# {00020424-...}: oleaut32's proxy for automation-compatible interfaces.
set(interfaces "")
idl_declarations(interface dual_interfaces)
foreach(entry IN LISTS dual_interfaces)
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 iid)
  list(GET fields 1 name)
  string(APPEND interfaces "  <comInterfaceExternalProxyStub name=\"${name}\" iid=\"${iid}\" "
         "proxyStubClsid32=\"{00020424-0000-0000-C000-000000000046}\" tlbid=\"${libid}\"/>\n")
endforeach()

if(class_count EQUAL 0 OR interfaces STREQUAL "")
  message(FATAL_ERROR "manifest: no classes or interfaces found in brevanto.idl.in")
endif()
set(BREVANTO_MANIFEST_LIBID ${libid})
set(BREVANTO_MANIFEST_CLASSES "${classes}")
set(BREVANTO_MANIFEST_INTERFACES "${interfaces}")
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/brevanto.manifest.in ${CMAKE_BINARY_DIR}/Brevanto.manifest
               @ONLY NEWLINE_STYLE CRLF)
