# What a user reads and runs first: the man pages, the installation, the
# package sets of the quick start and the README's commands.
if(TARGET apptestfixtures AND TARGET zvtrack-tool)
  sw_add_test(test_docs SOURCES test_docs.cpp LIBS apptestfixtures)
  add_dependencies(test_docs strutwright zvtrack-tool)
endif()
