library(testthat)
library(zelvatrix)

test_check("zelvatrix")
