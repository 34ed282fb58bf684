# What `cmake --install` puts under the prefix, and nothing more: the program in bin/ and its
# shipped files in share/tovenla2; fixed names, because the program finds them as ../share/tovenla2
# from its own folder.
install(TARGETS tovenla2 RUNTIME DESTINATION bin)
install(FILES ${TEMPLATE_FILES} ${PROJECT_SOURCE_DIR}/templates/PHOTO03.DTD
  ${PROJECT_SOURCE_DIR}/templates/PHOTO05.DTD DESTINATION share/tovenla2)

# The desktop's menu entry, its icon in the hicolor theme and the software centre's description.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/tovenla2.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/tovenla2.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size ${ICON_SIZES})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/${size}x${size}/tovenla2.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/packaging/jp.tovenla.tovenla2.metainfo.xml DESTINATION share/metainfo)
