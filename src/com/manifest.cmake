# Writes Brevanto.manifest beside the DLL: the assembly manifest of registration-free activation.
# Its classes and interfaces are read from the IDL, so that a class added there is in the
# manifest too: one comClass per creatable class, and for every dual interface the standard
# automation proxy, so that calls across apartments are marshalled from the type library as
# after a registration.

file(READ ${CMAKE_CURRENT_SOURCE_DIR}/brevanto.idl.in idl_text)
string(REGEX MATCH "\\[uuid\\(([0-9A-Fa-f-]+)\\)[^]]*\\][ \t\r\n]*library" _ "${idl_text}")
set(libid "{${CMAKE_MATCH_1}}")
if(libid STREQUAL "{}")
  message(FATAL_ERROR "manifest: no library identifier in brevanto.idl.in")
endif()

set(classes "")
set(class_count 0)
string(REGEX MATCHALL "\\[uuid\\([0-9A-Fa-f-]+\\)[^]]*\\][ \t\r\n]*coclass [A-Za-z0-9_]+"
       coclasses "${idl_text}")
foreach(entry IN LISTS coclasses)
  string(REGEX MATCH "uuid\\(([0-9A-Fa-f-]+)\\)" _ "${entry}")
  set(clsid "{${CMAKE_MATCH_1}}")
  string(REGEX MATCH "coclass ([A-Za-z0-9_]+)$" _ "${entry}")
  set(name ${CMAKE_MATCH_1})
  if(entry MATCHES "noncreatable")
    continue()
  endif()
  string(APPEND classes "    <comClass clsid=\"${clsid}\" progid=\"${PROJECT_NAME}.${name}\" "
         "threadingModel=\"Apartment\" tlbid=\"${libid}\" description=\"${name}\"/>\n")
  math(EXPR class_count "${class_count} + 1")
endforeach()

set(interfaces "")
string(REGEX MATCHALL "\\[odl, uuid\\([0-9A-Fa-f-]+\\)[^]]*\\][ \t\r\n]*interface [A-Za-z0-9_]+"
       dual_interfaces "${idl_text}")
foreach(entry IN LISTS dual_interfaces)
  string(REGEX MATCH "uuid\\(([0-9A-Fa-f-]+)\\)" _ "${entry}")
  set(iid "{${CMAKE_MATCH_1}}")
  string(REGEX MATCH "interface ([A-Za-z0-9_]+)$" _ "${entry}")
  # {00020424-...}: oleaut32's proxy for automation-compatible interfaces.
  string(APPEND interfaces "  <comInterfaceExternalProxyStub name=\"${CMAKE_MATCH_1}\" iid=\"${iid}\" "
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
