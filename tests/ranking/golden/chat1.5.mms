     3 < Number of models ranked; C-hat for QAICc calculation: 1.500
 Model     -nln[L] #Prms       QAICc      dQAICc     QAIC Wt                            Algorithm file                           Covariance file  Notes>
     1  5.0000E+01     4  7.5556E+01  0.0000E+00     0.45686                                model1.alg                                model1.cov  
     2  5.0000E+01     4  7.5556E+01  0.0000E+00     0.45686                           meadow_beta.alg                           meadow_beta.cov  best guess,  with blanks
     3  5.2500E+01     4  7.8889E+01  3.3333E+00     0.08629  meadow_binomial_all_species_free_and_unf  meadow_binomial_all_species_free_and_unf  
