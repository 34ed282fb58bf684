# What `cmake --install` puts under the prefix, and nothing more: the program in bin/ and its
# shipped files in share/tovenla2; fixed names, because the program finds them as ../share/tovenla2
# from its own folder.
install(TARGETS tovenla2 RUNTIME DESTINATION bin)
install(FILES ${TEMPLATE_FILES} ${PROJECT_SOURCE_DIR}/templates/PHOTO03.DTD
  ${PROJECT_SOURCE_DIR}/templates/PHOTO05.DTD DESTINATION share/tovenla2)
