# The pictures of the program folder's w/ that are drawn at build time with
# ImageMagick instead of being kept in the repository:
#   btn1.jpg  the bottom bar's button (65 x 43 px). The bar's window paints
#             pure blue (#0000FF) and leaves it out, so the picture uses warm
#             colours only and no pixel can come out as that blue.
#   cell.gif  the 30 x 30 px marker of the face cell under the mouse in a pack
#             page; transparent inside.
find_program(TOVLO_CONVERT convert REQUIRED)
find_file(TOVLO_CJK_FONT wqy-zenhei.ttc
  PATHS /usr/share/fonts/truetype/wqy /usr/share/fonts/wenquanyi/wqy-zenhei
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)  # the build machine's font, also when cross-building

set(_w ${TOVLO_PROGRAM_DIR}/w)

# The button's caption needs a Chinese font; without one it shows the face alone.
if(TOVLO_CJK_FONT)
  set(_btn_caption -font ${TOVLO_CJK_FONT} -pointsize 13 -fill white -stroke none
      -annotate +32+26.5 "表情")
else()
  message(WARNING "wqy-zenhei.ttc not found: btn1.jpg is drawn without its caption")
  set(_btn_caption)
endif()

add_custom_command(
  OUTPUT ${_w}/btn1.jpg
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_w}
  COMMAND ${TOVLO_CONVERT} -size 65x43 "gradient:#ffb061-#e8730a"
          -fill none -stroke "#b85400" -strokewidth 1
          -draw "roundrectangle 0.5,0.5 64.5,42.5 5,5"
          -fill "#ffe25a" -stroke "#8a4a00" -strokewidth 1.5 -draw "circle 16,21.5 16,10.5"
          -fill "#8a4a00" -stroke none -draw "circle 12.5,18 12.5,16.3" -draw "circle 19.5,18 19.5,16.3"
          -fill none -stroke "#8a4a00" -strokewidth 1.5 -draw "arc 10.5,17 21.5,27.5 25,155"
          ${_btn_caption}
          -quality 92 ${_w}/btn1.jpg
  DEPENDS ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Drawing w/btn1.jpg"
  VERBATIM)

add_custom_command(
  OUTPUT ${_w}/cell.gif
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_w}
  COMMAND ${TOVLO_CONVERT} -size 30x30 xc:none +antialias
          -fill none -stroke "#f0801e" -strokewidth 2 -draw "roundrectangle 1,1 28,28 4,4"
          ${_w}/cell.gif
  DEPENDS ${CMAKE_CURRENT_LIST_FILE}
  COMMENT "Drawing w/cell.gif"
  VERBATIM)

add_custom_target(images ALL DEPENDS ${_w}/btn1.jpg ${_w}/cell.gif)
add_dependencies(images stage)
