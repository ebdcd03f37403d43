     2 < Number of models ranked
 Model     -nln[L] #Prms        AICc       dAICc      AIC Wt                            Algorithm file                           Covariance file  Notes>
     1  1.2990E+02    13  2.9041E+02  0.0000E+00     0.50000                              meadow_c.alg                              meadow_c.cov  
     2  1.2990E+02    13  2.9041E+02  0.0000E+00     0.50000                              meadow_c.alg                              meadow_c.cov  
