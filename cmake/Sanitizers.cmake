# TQ_SANITIZE selects one sanitizer set for the whole build, so the code under
# test and every library it links are instrumented alike.
#   address   AddressSanitizer + UndefinedBehaviorSanitizer
#   thread    ThreadSanitizer
set(TQ_SANITIZE "" CACHE STRING "Sanitizer set: empty, address or thread")

if(TQ_SANITIZE STREQUAL "address")
    set(_tq_san_flags -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
elseif(TQ_SANITIZE STREQUAL "thread")
    set(_tq_san_flags -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT TQ_SANITIZE STREQUAL "")
    message(FATAL_ERROR "Unknown TQ_SANITIZE value '${TQ_SANITIZE}'")
endif()

if(_tq_san_flags)
    add_compile_options(${_tq_san_flags})
    add_link_options(${_tq_san_flags})
endif()
