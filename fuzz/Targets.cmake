# Each subsystem adds its targets here.
qrva_add_fuzzer(fuzz_command_line SOURCES FuzzCommandLine.cpp LIBS minicad)
qrva_add_fuzzer(fuzz_ini_file SOURCES FuzzIniFile.cpp LIBS qrva_settings)
qrva_add_fuzzer(fuzz_main_cache SOURCES FuzzMainCache.cpp LIBS qrva_library minicad)
qrva_add_fuzzer(fuzz_image_cache SOURCES FuzzImageCache.cpp LIBS qrva_library minicad)
qrva_add_fuzzer(fuzz_image_list_stream SOURCES FuzzImageListStream.cpp LIBS fw)
qrva_add_fuzzer(fuzz_packed_bitmap SOURCES FuzzPackedBitmap.cpp LIBS qrva_dwgprobe)
qrva_add_fuzzer(fuzz_image_section SOURCES FuzzImageSection.cpp LIBS qrva_dwgprobe)
qrva_add_fuzzer(fuzz_file_uri
  SOURCES FuzzFileUri.cpp ${PROJECT_SOURCE_DIR}/apps/qrva-thumbnailer/FileUri.cpp LIBS fw)
target_include_directories(fuzz_file_uri PRIVATE ${PROJECT_SOURCE_DIR}/apps/qrva-thumbnailer)
qrva_add_fuzzer(fuzz_ui_script SOURCES FuzzUiScript.cpp LIBS fw)
qrva_add_fuzzer(fuzz_drawing_file SOURCES FuzzDrawingFile.cpp LIBS minicad)
qrva_add_fuzzer(fuzz_button_image SOURCES FuzzButtonImage.cpp LIBS minicad)
