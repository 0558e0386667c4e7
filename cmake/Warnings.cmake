# quor_warnings(target): the warning set every target of ours compiles with.
function(quor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()
