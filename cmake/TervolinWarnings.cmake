# Compiler settings every target of the project shares: warnings, warnings-as-errors, sanitizers.
function(tervolin_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  if(TERVOLIN_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS)
endfunction()

if(TERVOLIN_SANITIZE)
  add_compile_options(-fsanitize=${TERVOLIN_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=${TERVOLIN_SANITIZE})
endif()
