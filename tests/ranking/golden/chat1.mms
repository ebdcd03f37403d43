     3 < Number of models ranked
 Model     -nln[L] #Prms        AICc       dAICc      AIC Wt                            Algorithm file                           Covariance file  Notes>
     1  5.0000E+01     4  1.0889E+02  0.0000E+00     0.48029                                model1.alg                                model1.cov  
     2  5.0000E+01     4  1.0889E+02  0.0000E+00     0.48029                           meadow_beta.alg                           meadow_beta.cov  best guess,  with blanks
     3  5.2500E+01     4  1.1389E+02  5.0000E+00     0.03942  meadow_binomial_all_species_free_and_unf  meadow_binomial_all_species_free_and_unf  
