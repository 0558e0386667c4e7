# QUOR_SANITIZE=address adds ASan with UBSan, QUOR_SANITIZE=thread adds TSan,
# to every target of the build.
if(QUOR_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(QUOR_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT QUOR_SANITIZE STREQUAL "")
  message(FATAL_ERROR "QUOR_SANITIZE must be empty, 'address' or 'thread'")
endif()
